#include "ViewerOptions.h"

#include <cstdlib>
#include <cstring>

namespace {

bool ParseNumber(const char* text, double* value) {
  char* end = nullptr;
  *value = std::strtod(text, &end);
  return end != text && *end == '\0';
}

bool ParseSize(const char* text, int* width, int* height) {
  char* end = nullptr;
  const long w = std::strtol(text, &end, 10);
  if (end == text || (*end != 'x' && *end != 'X')) return false;
  const char* rest = end + 1;
  const long h = std::strtol(rest, &end, 10);
  if (end == rest || *end != '\0' || w < 16 || h < 16 || w > 8192 || h > 8192) return false;
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}

}  // namespace

const char* ViewerUsage() {
  return "usage: pulsar-view [options] <scene.c4e>\n"
         "  --data DIR          directory holding engine_data/ (default .)\n"
         "  --time MS           scene time in milliseconds (default 0)\n"
         "  --camera N          camera index (default 0)\n"
         "  --fov DEGREES       vertical field of view (default 45)\n"
         "  --size WxH          picture size (default 1280x720)\n"
         "  --no-shadow         no shadow pass, shader flag 0\n"
         "  --up-follows-rotation  the camera's up vector turns with its rotation (its roll shows)\n"
         "  --shadow-near N     near plane of the shadow projection (default 500)\n"
         "  --shadow-far N      far plane of the shadow projection (default 2000)\n"
         "  --pass NAME         material (default), depth (camera depth pass) or shadow (from the first light)\n"
         "  --png FILE          render one frame headless into FILE; without it a window opens:\n"
         "                      left/right scrub 0.2 s (with shift 2 s), space plays, c next camera,\n"
         "                      s shadows, p next pass, +/- field of view, escape quits\n"
         "  -h, --help          show this text\n";
}

bool ParseViewerOptions(int argc, char** argv, ViewerOptions* options, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    double number = 0.0;
    if (option == "-h" || option == "--help") {
      options->helpRequested = true;
      return true;
    } else if (option == "--data") {
      const char* text = value();
      if (text == nullptr) return *error = "--data needs a directory", false;
      options->dataDirectory = text;
    } else if (option == "--time" || option == "--camera" || option == "--fov" || option == "--shadow-near" ||
               option == "--shadow-far") {
      const char* text = value();
      if (text == nullptr || !ParseNumber(text, &number)) return *error = option + " needs a number", false;
      if (option == "--time") options->timeMs = static_cast<int64_t>(number);
      if (option == "--camera") options->camera = static_cast<int32_t>(number);
      if (option == "--fov") {
        if (number <= 1.0 || number >= 179.0) return *error = "--fov must lie between 1 and 179 degrees", false;
        options->settings.fieldOfViewDegrees = static_cast<float>(number);
      }
      if (option == "--shadow-near") options->settings.shadowNear = static_cast<float>(number);
      if (option == "--shadow-far") options->settings.shadowFar = static_cast<float>(number);
    } else if (option == "--size") {
      const char* text = value();
      if (text == nullptr || !ParseSize(text, &options->settings.width, &options->settings.height))
        return *error = "--size needs WIDTHxHEIGHT", false;
    } else if (option == "--no-shadow") {
      options->settings.shadows = false;
    } else if (option == "--up-follows-rotation") {
      options->settings.upFollowsRotation = true;
    } else if (option == "--pass") {
      const char* text = value();
      const std::string pass = text != nullptr ? text : "";
      if (pass == "material") options->settings.pass = ViewerPass::Material;
      else if (pass == "depth") options->settings.pass = ViewerPass::CameraDepth;
      else if (pass == "shadow") options->settings.pass = ViewerPass::ShadowMap;
      else return *error = "--pass is material, depth or shadow", false;
    } else if (option == "--png") {
      const char* text = value();
      if (text == nullptr) return *error = "--png needs a file name", false;
      options->pngPath = text;
    } else if (!option.empty() && option[0] == '-') {
      return *error = "unknown option " + option, false;
    } else if (options->sceneFile.empty()) {
      options->sceneFile = option;
    } else {
      return *error = "one scene at a time", false;
    }
  }
  if (options->sceneFile.empty()) return *error = "which scene?", false;
  if (options->settings.shadowNear <= 0.0f || options->settings.shadowFar <= options->settings.shadowNear)
    return *error = "the shadow planes need 0 < near < far", false;
  return true;
}
