// Development mode: a shader, a scene file or a picture in the data directory was replaced
// while the show plays. The new one is taken only when it is complete; otherwise the old one
// stays.
#include <memory>

#include "demo/Demo.h"
#include "demo/ShowData.h"
#include "gfx/ShaderManager.h"
#include "gfx/TextureCache.h"
#include "platform/message_box.h"
#include "scene/SceneLoader.h"

namespace {

// The texts of the boxes the failed step showed (their caption names the file), one a line.
std::string TakeBoxTexts() {
  std::string text;
  for (const platform::MessageBoxRecord& box : platform::TakeShownMessageBoxes()) {
    if (!text.empty()) text += "\n";
    text += box.caption + ": " + box.text;
  }
  return text;
}

}  // namespace

bool Demo::ReloadShader(const std::string& fileName, std::string* message) {
  message->clear();
  if (!m_pSM) return false;
  platform::TakeShownMessageBoxes();
  bool known = false;
  if (m_pSM->ReloadProgramOf(fileName, &known)) return true;
  if (!known) return false;
  *message = TakeBoxTexts();
  if (message->empty()) *message = fileName + ": the program could not be made from it";
  return false;
}

bool Demo::ReloadScene(const std::string& fileName, std::string* message) {
  message->clear();
  int32_t index = -1;
  for (int32_t i = 0; i < show::kSceneCount; ++i)
    if (fileName == show::SceneFileName(i)) index = i;
  Scene* old = SceneAt(index);
  if (!old) return false;
  platform::TakeShownMessageBoxes();
  std::unique_ptr<Scene> fresh = m_pScenes->LoadDetached(fileName);
  if (!fresh) {
    *message = TakeBoxTexts();
    return false;
  }
  if (fresh->cameras.empty()) {
    *message = fileName + ": a scene needs a camera to be shown";
    return false;
  }
  // The new content runs on the old scene's clock, camera and events, so the show goes on
  // where it was.
  show::ApplySceneCues(*fresh, index);
  fresh->speedEvents = old->speedEvents;
  fresh->time = old->time;
  fresh->frame = old->frame;
  fresh->speed = old->speed;
  fresh->restartTick = old->restartTick;
  fresh->currentCamera = old->currentCamera < fresh->cameraCount ? old->currentCamera : 0;
  fresh->rollAngle = old->rollAngle;
  fresh->shakeOffset = old->shakeOffset;
  m_pScenes->scenes[static_cast<size_t>(index)] = std::move(fresh);
  m_pScenes->current = m_pScenes->scenes[static_cast<size_t>(index)].get();
  return true;
}

bool Demo::ReloadPicture(const std::string& fileName, std::string* message) {
  message->clear();
  if (!m_pTextureCache) return false;
  if (m_pTextureCache->Reload(fileName, message)) return true;
  if (!message->empty()) *message = fileName + ": " + *message;
  return false;
}
