#pragma once
// The director of the show: creates and owns every resource in a fixed order, draws one frame
// of the timeline per call, and releases everything in reverse order. Creation and release
// live in DemoCreate.cpp and DemoShutdown.cpp, the frame in Timeline.cpp, the ten scene
// compositions in scenes/, one file each.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "gfx/EffectQuad.h"
#include "gfx/Quad.h"
#include "gfx/RenderContext.h"
#include "gfx/RenderTarget.h"
#include "platform/win_types.h"

class BlurShader;
class D3D11Device;
class DesignLines;
class GlitchKeyable;
class GlitchSound;
class Lens;
class ParticleSystem;
class PixelShaderVariants;
class RadialBlur;
class Scene;
class SceneLoader;
class Slide;
struct DebugFont;
class RenderStateManager;
class SSAOShader;
class TexMixShader;
class ShaderManager;
class Sound;
class TextureCache;
class Timer;

class Demo {
 public:
  Demo() = default;
  Demo(const Demo&) = delete;
  Demo& operator=(const Demo&) = delete;

  // Starts reading the scene files (parsing, building meshes, decoding pictures) on worker
  // threads, as soon as the data is unpacked: Initialize then makes the window's device and the
  // rest meanwhile. Optional; Initialize starts the reading itself otherwise.
  void StartReadingScenes();
  bool Initialize(int32_t width, int32_t height, bool vsync, bool fullScreen, int32_t refresh, HWND window,
                  Timer* timer, uint8_t* keys);
  bool Frame(int32_t fps);
  void Shutdown();
  void ReportError(std::string_view text);
  // Writes the frame last drawn to a PNG file (screenshots and capture).
  bool SaveFrame(const char* path) const;
  // Starts the show at showTime instead of 0, after Initialize: the music moves there, the
  // scene that owns that time is advanced by frames of frameStep ms from its start, and the
  // first frame hands the music's level and glitch to the post-processing, as a run from 0
  // would have them; the caller then starts the Timer at showTime.
  void StartAt(int64_t showTime, int64_t frameStep);
  // Asks for every scene's specialised material programs, the scenes from the one at fromTime
  // first in show order; they are then made in the background and created a frame at a time.
  void RequestScenePrograms(int64_t fromTime) const;
  // Takes every scene, particle system, throttle and the lens back to where creation left
  // them; with StartAt after it the show can start again at any time while it plays.
  void Rewind();
  // Development mode: the program that reads this shader file, or the scene of this file,
  // made again from the data directory. Only a complete new one replaces the old (a scene
  // keeps its clock, camera and events); otherwise *message says why and the old one stays.
  // False with no message: no program reads the file, or it is none of the show's scenes.
  bool ReloadShader(const std::string& fileName, std::string* message);
  bool ReloadScene(const std::string& fileName, std::string* message);
  // A loaded picture read again into the texture every holder draws with; false with no
  // message when no picture of that name is loaded.
  bool ReloadPicture(const std::string& fileName, std::string* message);

  // Image operations on the Demo's targets (DemoImageOps.cpp).
  // Leaves the source blurred in m_pRTT_Blur: reduced to a sixteenth, blurred along x then y
  // passes times, magnified again. Blur(0, source) is the reduced-and-magnified copy.
  void Blur(int32_t passes, RenderTarget* source);
  // One blur pass along x (direction 0) or y (1) of the source into the bound target.
  void BlurStep(int32_t direction, RenderTarget* source);
  // Reads m_pRTT_1_1; its bright pass stays in m_pRTT_BrightPass, the result is m_pRTT_1_2.
  void Bloom();
  // The occlusion pass: reads the camera depth pass in m_pRTT_SSAO_normals_depth, rotated by
  // the noise texture, and leaves the occlusion (white open, dark occluded) in m_pRTT_SSAO.
  void Occlusion();
  // The occlusion pass into the bound target.
  void DrawOcclusion();
  // Draws m_pQuad_TexMix into the bound target: mode 0 adds the blurred image to the first
  // (bloom), 1 multiplies the first by it (ambient occlusion), 2 lays it over as a soft glow.
  void Mix(int32_t mode, RenderTarget* first);
  // The glitch of this frame: the keyed one copies its entries before 151700 ms, the sound
  // one takes over from then on and copies its own.
  void UpdateGlitch();

  // Over the finished frame, while m_bDebugView is set: previews of four targets and the three
  // statistics lines (DebugOverlay.cpp); m_bPrintOverlay also prints the lines to stdout.
  void DrawDebugOverlay();
  std::array<std::wstring, 3> DebugOverlayLines();
  // Development mode: while m_reloadProblem is set, its lines in a dark box across the bottom
  // of the frame, whether or not the debug overlay is on; the lines as laid out for the
  // window's size (none without the font).
  void DrawReloadProblem();
  std::vector<std::wstring> ReloadProblemLines();

  // The scene compositions; each leaves its picture in its output target.
  void SceneFlagge(RenderTarget* output);
  void SceneTunnel1();
  void SceneTunnel2();
  void SceneMagnet(RenderTarget* output);
  void SceneZelle(RenderTarget* output);
  void SceneQualle(RenderTarget* output);
  void SceneFratze(RenderTarget* output);
  void SceneBlob(RenderTarget* output);
  void SceneSoft(RenderTarget* output);
  void SceneLogo(RenderTarget* output);

  int64_t m_lastSample = 0;
  int16_t m_bDebugView = 0;
  float m_shadowA = 100.0f;
  float m_shadowB = 2500.0f;
  int32_t m_nScene = 0;
  int32_t m_fractal = 0;
  int32_t m_nFinalEffect = 0;
  struct Rehearsal {
    struct Mesh {
      int32_t scene;
      size_t position;
      uint32_t key;
      bool shaderFlag;
      bool castsShadow;  // drawn by the shadow pass, with the depth program
    };
    int64_t firstDrawn = -1;  // the first frame of the scenes being rehearsed
    int64_t lastDrawn = -1;   // show time of the last rehearsal draw
    std::vector<Mesh> pending;
    size_t passesDrawn = 0;                  // of the shared passes, rehearsed before each scene
    std::unordered_set<uint32_t> drawnKeys;  // programs rehearsed, for good
    static const size_t kPassCount;          // the shared passes
  };
  Rehearsal m_rehearsal;
  int32_t m_width = 0;
  int32_t m_height = 0;
  bool m_bVSync = false;
  bool m_bFullScreen = false;
  int32_t m_refresh = 0;
  HWND m_hWnd = nullptr;
  uint8_t* m_pKeys = nullptr;
  Timer* m_pTimer = nullptr;
  int32_t m_nFps = 0;
  D3D11Device* m_pD3D11 = nullptr;
  DebugFont* m_pFont = nullptr;
  RenderStateManager* m_pRSM = nullptr;
  TextureCache* m_pTextureCache = nullptr;
  ShaderManager* m_pSM = nullptr;
  Utility* m_pUtility = nullptr;
  Sound* m_pSound = nullptr;
  Quad* m_pQuadLoading = nullptr;
  RenderTarget* m_pTexture_1 = nullptr;
  RenderTarget* m_pTexture_2 = nullptr;
  RenderTarget* m_pRTT_1_1 = nullptr;
  RenderTarget* m_pRTT_1_2 = nullptr;
  RenderTarget* m_pRTT_4_1 = nullptr;
  RenderTarget* m_pRTT_4_2 = nullptr;
  RenderTarget* m_pRTT_16_1 = nullptr;
  RenderTarget* m_pRTT_16_2 = nullptr;
  RenderTarget* m_pRTT_Blur = nullptr;
  RenderTarget* m_pRTT_BrightPass = nullptr;
  RenderTarget* m_pRTT_DepthMap = nullptr;
  RenderTarget* m_pRTT_SSAO = nullptr;
  RenderTarget* m_pRTT_SSAO_normals_depth = nullptr;
  EffectQuad<BlurShader>* m_pQuad_Blur_4 = nullptr;
  EffectQuad<BlurShader>* m_pQuad_Blur_16 = nullptr;
  EffectQuad<TexMixShader>* m_pQuad_TexMix = nullptr;
  EffectQuad<SSAOShader>* m_pQuad_SSAO = nullptr;
  Quad* m_pQuad_Noise = nullptr;
  Quad* m_pQuad_1_Solid = nullptr;
  Quad* m_pQuad_1_Blend = nullptr;
  Quad* m_pQuad_4_Solid = nullptr;
  Quad* m_pQuad_4_Blend = nullptr;
  Quad* m_pQuad_16_Solid = nullptr;
  Quad* m_pQuad_16_Blend = nullptr;
  Quad* m_pQuad_Texture_1 = nullptr;
  Quad* m_pQuad_Texture_2 = nullptr;
  Quad* m_pQuad_Texture_Bright = nullptr;
  Quad* m_pQuad_Texture_Depth = nullptr;
  Quad* m_pQuadBack_Flagge = nullptr;
  Quad* m_pQuadFaderBlack = nullptr;
  Quad* m_pQuadFaderCross = nullptr;
  Quad* m_pQuadFlasher = nullptr;
  Quad* m_pQuadOver_Vignette = nullptr;
  Quad* m_pQuadText_Tunnel = nullptr;
  Quad* m_pQuadText_Magnet = nullptr;
  Quad* m_pQuadText_Zelle = nullptr;
  Quad* m_pQuadText_Qualle = nullptr;
  Quad* m_pQuadText_Fratze = nullptr;
  Quad* m_pQuadText_Blob = nullptr;
  Quad* m_pQuadText_Soft = nullptr;
  Quad* m_pQuadText_Logo = nullptr;
  Quad* m_pQuadText_Credits = nullptr;
  RadialBlur* m_pRadialBlur = nullptr;
  DesignLines* m_pDesignLines = nullptr;
  SceneLoader* m_pScenes = nullptr;
  ParticleSystem* m_pSB1 = nullptr;
  ParticleSystem* m_pSB2 = nullptr;
  ParticleSystem* m_pSB_Zelle1 = nullptr;
  ParticleSystem* m_pSB_Zelle2 = nullptr;
  ParticleSystem* m_pSB_Qualle = nullptr;
  GlitchKeyable* m_pGlitchKeyable = nullptr;
  GlitchSound* m_pGlitchSound = nullptr;
  bool m_bGlitchSoundStarted = false;
  Slide* m_pSlide = nullptr;
  Lens* m_pLens = nullptr;
  RenderContext m_renderContext;
  // The scenes' own rotation angles in degrees, kept for the whole run.
  float m_blobAngle = 0.0f;
  float m_zelleAngle = 0.0f;
  // Development: the debug overlay's lines of every frame go to stdout (--print-overlay).
  bool m_bPrintOverlay = false;
  // Development: why the latest reloaded file is not in use ("" when every one is).
  std::string m_reloadProblem;

  // The creation steps, in the order Initialize runs them; tools that need only part of the
  // Demo run the steps they need.
  void StoreArguments(int32_t width, int32_t height, bool vsync, bool fullScreen, int32_t refresh, HWND window,
                      Timer* timer, uint8_t* keys);
  bool CreateDevice();
  bool CreateDebugFont();
  bool CreateRenderStates();
  bool CreateTextureCache();
  bool CreateShaderPrograms();
  bool CreateUtility();
  bool CreateSound();
  void FillRenderContext();
  bool CreateLoadingScreen();
  bool CreateRenderTargets();
  bool CreateScreenQuads();
  bool CreateFadeQuads();
  bool CreateCaptions();
  bool CreateRadialBlur();
  bool CreateDesignLines();
  bool CreateParticleSystems();
  bool CreateGlitches();
  bool CreateSlide();
  bool CreateLens();
  bool CreateSceneLoader();
  bool CreateScenes();
  bool StartMusic();

  // Steps the scene compositions are made of (with the image operations above). Preparing a
  // target binds it and clears it to opaque black with depth 1.
  static void PrepareTarget(RenderTarget* target);
  // Binds the target and clears it to transparent black with depth 1.
  void PrepareTransparent(RenderTarget* target);
  // Binds a target that the next draw covers whole with an opaque full-screen quad (copies, blur
  // passes, mixes): a clear would only be overwritten. The shared depth is left as it is; every
  // scene draw prepares its target first.
  static void PrepareOverwritten(RenderTarget* target);
  // Draws m_pQuad_1_Solid with the source's picture and an effect number into the bound target.
  void CopyTarget(RenderTarget* source, int32_t effect);
  // Prepares the output and copies the source into it with the effect.
  void FinishWith(RenderTarget* output, RenderTarget* source, int32_t effect);
  // Updates the loaded scene at index, then draws it with the lens (DrawSceneAgain: no update).
  void DrawScene(int32_t index, bool depthPass, bool shaderFlag);
  // In the seconds before a scene's first frame, draws where nothing is seen one of its material
  // programs not drawn before, of its shadow pass's states or of the shared passes, so its first
  // frame does not wait for their compiling.
  void RehearseComingScene(int64_t t);
  // Draws one of the passes the compositions share, where nothing is seen; false when its
  // program is not made yet.
  bool RehearsePass(size_t pass);
  // Draws the next mesh waiting for its rehearsal; false when none is ready.
  bool RehearseNextMesh();
  // Binds a target as its pass does, through an empty viewport.
  void BindEmpty(RenderTarget* target);
  // The material program's specialised set, or null when the draws do not use it.
  PixelShaderVariants* MaterialVariants() const;
  // Moves a scene to the show time (its clock, tracks and morphs), timed as "update" by a profile.
  static void UpdateScene(Scene* scene);
  void DrawSceneAgain(int32_t index, bool depthPass, bool shaderFlag);
  // The loaded scene at index; null before the scenes are loaded.
  Scene* SceneAt(int32_t index) const;
  // Draws a particle system with a world matrix, seen from its preset eye through the lens.
  void ParticleView(ParticleSystem* system, const D3DXMATRIX& world);
  // The radial blur of m_pRTT_1_1 into the bound target.
  void DrawRadialBlur();
  // Blends the layer's picture over the bound target at alpha.
  void LayOver(RenderTarget* layer, float alpha);
  // Lays the radial blur of m_pRTT_1_1 over it at half strength, into m_pRTT_1_1 and m_pRTT_1_2.
  void RadialOverlay();
  // The device's world turned about x, then y, then z (radians).
  D3DXMATRIX TurnedWorld(float x, float y, float z) const;
  // The two scene angles move on by one frame of delta ms; the blob's turns ten times faster
  // while the music level reaches 0.5.
  void TurnZelle(int64_t delta);
  void TurnBlob(int64_t delta, float musicPeak);

 private:
  void ReleaseScreenResources();
  // The particle systems and the scenes are released between these two.
  void ReleaseSlideAndGlitches();
  void ReleaseLinesAndRadialBlur();

  // The timeline: one scene composes its picture, then the overlays go on the back buffer.
  void RunTimeline();
  void RunScene(int64_t t);
  void ComposeBackBuffer();
  void KeyedDraw(Quad* quad);

};
