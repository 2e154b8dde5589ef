#include "scene/SceneLoader.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "app/DataDirectory.h"
#include "gfx/TextureCache.h"
#include "platform/d3dx/d3dx11tex.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "scene/SceneAssembly.h"
#include "scene/SceneFileReader.h"

void SceneLoader::ShowError(const std::string& text) const {
  platform::MessageBox(context.hWnd, text, fileName, MB_ICONERROR);
}

SceneLoader::~SceneLoader() { StopReadingAhead(); }

void SceneLoader::StopReadingAhead() {
  m_stopReading = true;
  WaitForReaders();
  m_stopReading = false;
}

void SceneLoader::WaitForReaders() {
  for (std::future<void>& reader : m_readers) reader.wait();
  m_readers.clear();
}

void SceneLoader::ReadAhead(const std::vector<std::string>& names, bool decodePictures) {
  // The files of an earlier call stay queued in front; their readers finish first.
  WaitForReaders();
  auto promises = std::make_shared<std::vector<std::promise<Parsed>>>(names.size());
  auto next = std::make_shared<std::atomic<size_t>>(0);
  const size_t first = m_ahead.size();
  for (size_t i = 0; i < names.size(); ++i) m_ahead.push_back({names[i], (*promises)[i].get_future()});
  // Two readers take the files in order, each the next one nobody has taken: parsing and
  // decoding keep both cores busy while the loading thread is still creating the rest of the
  // show, and neither idles while files are left (the files differ fivefold in work).
  const size_t readers = std::min<size_t>(kReaders, names.size());
  try {
    for (size_t reader = 0; reader < readers; ++reader) {
      m_readers.push_back(std::async(std::launch::async, [this, names, promises, next, decodePictures] {
        for (size_t i = (*next)++; i < names.size(); i = (*next)++) {
          // A file left unread reads as missing; nobody takes it once the loader is going.
          if (m_stopReading) {
            (*promises)[i].set_value(Parsed{});
            continue;
          }
          try {
            Parsed parsed = Parse(names[i]);
            if (decodePictures) DecodePictures(&parsed);
            (*promises)[i].set_value(std::move(parsed));
          } catch (...) {
            (*promises)[i].set_exception(std::current_exception());
          }
        }
      }));
    }
  } catch (const std::system_error&) {
    // Without threads every file is read when it is loaded.
    StopReadingAhead();
    m_ahead.erase(m_ahead.begin() + static_cast<std::ptrdiff_t>(first), m_ahead.end());
  }
}

bool SceneLoader::Load(const std::string& name, const std::string& nextName) {
  std::unique_ptr<Scene> scene = LoadDetached(name, nextName);
  if (!scene) return false;
  scenes.push_back(std::move(scene));
  return true;
}

SceneLoader::Parsed SceneLoader::TakeParsed(const std::string& name) {
  if (m_ahead.empty() || m_ahead.front().fileName != name) return Parse(name);
  std::future<Parsed> ahead = std::move(m_ahead.front().parsed);
  m_ahead.pop_front();
  try {
    return ahead.get();
  } catch (const std::exception&) {
    // A reader that ran out of memory or threads leaves its file to be read here.
    return Parse(name);
  }
}

std::unique_ptr<Scene> SceneLoader::LoadDetached(const std::string& name, const std::string& nextName) {
  Parsed parsed = TakeParsed(name);
  if (!nextName.empty()) ReadAhead({nextName});
  return Finish(name, std::move(parsed));
}

bool SceneLoader::LoadFromMemory(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::unique_ptr<Scene> scene = Finish(name, ParseBytes(bytes));
  if (!scene) return false;
  scenes.push_back(std::move(scene));
  return true;
}

SceneLoader::Parsed SceneLoader::Parse(const std::string& name) const {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(DataPath(name), &bytes)) return Parsed{};
  return ParseBytes(bytes);
}

SceneLoader::Parsed SceneLoader::ParseBytes(const std::vector<uint8_t>& bytes) const {
  Parsed parsed;
  parsed.opened = true;
  // Readers never read the loader's context, which may be given while they work; Finish hands
  // the scene its context on the loading thread.
  parsed.scene = std::make_unique<Scene>(RenderContext{});
  SceneFileReader reader(bytes.data(), bytes.size());
  parsed.failure = reader.Read(parsed.scene.get(), nullptr, nullptr);
  if (!parsed.failure) AssembleSceneData(parsed.scene.get());
  return parsed;
}

std::unique_ptr<Scene> SceneLoader::Finish(const std::string& name, Parsed parsed) {
  fileName = name;
  if (!parsed.opened) {
    m_failed = std::make_unique<Scene>(context);
    current = m_failed.get();
    ShowError("open file");
    return nullptr;
  }
  current = parsed.scene.get();
  // Parsed without one (see ParseBytes).
  parsed.scene->UseRenderContext(context);
  // The materials come first in the file, so a texture that cannot be loaded is reported before
  // anything found wrong after them, as when the file is read front to back.
  const char* failure = parsed.failure;
  for (const auto& material : parsed.scene->materials) {
    if (!ResolveTextures(material.get(), parsed.pictures)) {
      failure = "materials";
      break;
    }
  }
  if (failure) {
    ShowError(failure);
    m_failed = std::move(parsed.scene);
    return nullptr;
  }
  UploadSceneMeshes(parsed.scene.get(), context.device, context.context);
  return std::move(parsed.scene);
}

namespace {

// The pictures a material names, in the order their failures are reported.
struct MaterialPicture {
  bool present;
  const std::string& name;
  bool cube;
  ID3D11ShaderResourceView** view;
  const char* failure;
};

std::array<MaterialPicture, 5> PicturesOf(Material* material) {
  return {{
      {material->hasDiffuse && material->hasDiffuseMap, material->diffuseMap, false, &material->diffuseTexture,
       "couldn't load texture: "},
      {material->hasNormalMap, material->normalMap, false, &material->normalTexture, "couldn't load normal texture: "},
      {material->hasLuminanceMap, material->luminanceMap, false, &material->luminanceTexture,
       "couldn't load luminance texture: "},
      {material->hasEnvironmentMap, material->environmentMap, false, &material->environmentTexture,
       "couldn't load environment texture: "},
      {material->hasReflectionMap, material->reflectionMap, true, &material->reflectionTexture,
       "couldn't load reflection texture: "},
  }};
}

}  // namespace

bool SceneLoader::ClaimPicture(const std::string& name, bool cube) {
  const std::lock_guard<std::mutex> lock(m_claimedMutex);
  const std::pair<std::string, bool> picture{name, cube};
  if (std::find(m_claimedPictures.begin(), m_claimedPictures.end(), picture) != m_claimedPictures.end()) return false;
  m_claimedPictures.push_back(picture);
  return true;
}

void SceneLoader::DecodePictures(Parsed* parsed) {
  if (!parsed->scene || parsed->failure) return;
  for (const auto& material : parsed->scene->materials) {
    for (const MaterialPicture& picture : PicturesOf(material.get())) {
      // A picture two scenes share is decoded once: the other scene finds it in the texture
      // cache, or reads the file itself should it load first.
      if (!picture.present || picture.name.empty() || !ClaimPicture(picture.name, picture.cube)) continue;
      DecodedPicture entry{picture.name, picture.cube, {}};
      // A picture that does not decode here fails again on the loading thread, which says so.
      if (platform::d3dx::DecodeImageFile(DataPath(picture.name), entry.image))
        parsed->pictures.push_back(std::move(entry));
    }
  }
}

bool SceneLoader::ResolveTextures(Material* material, const std::vector<DecodedPicture>& pictures) {
  TextureCache* textures = context.textures;
  if (!textures) return true;  // no texture cache (tools, tests): names are kept, views stay null

  for (const MaterialPicture& picture : PicturesOf(material)) {
    if (!picture.present) continue;
    const platform::d3dx::DecodedImage* image = nullptr;
    for (const DecodedPicture& candidate : pictures)
      if (candidate.cube == picture.cube && candidate.name == picture.name) image = &candidate.image;
    const int32_t index =
        picture.cube ? textures->GetCubeTexture(picture.name, image) : textures->GetTexture(picture.name, image);
    if (index < 0) {
      ShowError(picture.failure + picture.name);
      return false;
    }
    *picture.view = picture.cube ? textures->CubeTextureAt(index) : textures->TextureAt(index);
  }
  return true;
}
