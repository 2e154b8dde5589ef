# Every third-party library the show, the tools and the tests use, found once.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)
# shaderc_combined with glslang and SPIRV-Tools: Debian's libshaderc.so leaves both unresolved.
pkg_check_modules(SHADERC REQUIRED IMPORTED_TARGET shaderc_combined spirv glslang SPIRV-Tools)
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)

find_package(spirv_cross_core REQUIRED)
find_package(spirv_cross_glsl REQUIRED)

find_library(MP3LAME_LIBRARY mp3lame REQUIRED)
find_path(MP3LAME_INCLUDE_DIR lame/lame.h REQUIRED)
add_library(pulsar_mp3lame INTERFACE)
target_link_libraries(pulsar_mp3lame INTERFACE ${MP3LAME_LIBRARY})
target_include_directories(pulsar_mp3lame INTERFACE ${MP3LAME_INCLUDE_DIR})

find_path(STB_INCLUDE_DIR stb_image.h PATH_SUFFIXES stb REQUIRED)
add_library(pulsar_stb INTERFACE)
target_include_directories(pulsar_stb SYSTEM INTERFACE ${STB_INCLUDE_DIR})
