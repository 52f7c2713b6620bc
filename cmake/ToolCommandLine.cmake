# CLI11, which reads the tools' command lines, and the tools' shared helper around it
# (cli/CommandLine.h). Included by each tool's folder; defined once.
include_guard(GLOBAL)

add_library(walkthrough_cli11 INTERFACE)
if(WIN32 OR EMSCRIPTEN)
    # CLI11 is header-only, but the cross compiler must not see the rest of /usr/include: it
    # gets a copy of CLI11's headers in the build folder.
    find_path(CLI11_HEADERS CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    file(COPY ${CLI11_HEADERS}/CLI DESTINATION ${PROJECT_BINARY_DIR}/cli11-include)
    target_include_directories(walkthrough_cli11 SYSTEM INTERFACE
                               ${PROJECT_BINARY_DIR}/cli11-include)
else()
    find_package(CLI11 CONFIG REQUIRED GLOBAL)
    target_link_libraries(walkthrough_cli11 INTERFACE CLI11::CLI11)
endif()

add_library(tool_command_line STATIC ${PROJECT_SOURCE_DIR}/cli/CommandLine.cpp)
target_include_directories(tool_command_line PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(tool_command_line PUBLIC walkthrough_cli11)
target_compile_definitions(tool_command_line PRIVATE WALKTHROUGH_VERSION="${PROJECT_VERSION}")
