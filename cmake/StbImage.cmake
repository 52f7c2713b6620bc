# stb_image, which decodes the models' texture images: Debian's libstb-dev header, its code
# compiled once in scene/TextureImages.cpp. A system include, so its warnings stay its own.
include_guard(GLOBAL)

add_library(walkthrough_stb_image INTERFACE)
find_path(STB_IMAGE_HEADERS stb/stb_image.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
if(WIN32 OR EMSCRIPTEN)
    # The cross compiler must not see the rest of /usr/include: it gets a copy of the header in
    # the build folder.
    file(COPY ${STB_IMAGE_HEADERS}/stb/stb_image.h DESTINATION ${PROJECT_BINARY_DIR}/stb-include/stb)
    target_include_directories(walkthrough_stb_image SYSTEM INTERFACE
                               ${PROJECT_BINARY_DIR}/stb-include)
else()
    target_include_directories(walkthrough_stb_image SYSTEM INTERFACE ${STB_IMAGE_HEADERS})
endif()
