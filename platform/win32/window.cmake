# The window, its controls and the control skin; the program Morvane.exe.
# Included from CMakeLists.txt in this folder.

# The window layer as a library, so the window tests build the same code
# the program runs.
add_library(morvane_win32_window STATIC
  native_window.cpp
  label.cpp
  control_input.cpp
  skin.cpp
  skin_paint.cpp
  wide_text.cpp
  shell_address.cpp
)
target_include_directories(morvane_win32_window PUBLIC ${PROJECT_SOURCE_DIR})
# Wide Win32 throughout: the names without A or W, and IDC_*, mean W here.
target_compile_definitions(morvane_win32_window PUBLIC UNICODE _UNICODE)
target_link_libraries(morvane_win32_window
  PUBLIC morvane_app morvane_codepage comctl32 shell32 gdi32 user32
  PRIVATE morvane_warnings)
# Each function in a section of its own, so the program's link drops the
# ones it does not use.
target_compile_options(morvane_win32_window PRIVATE -ffunction-sections -fdata-sections)

# The resources: the icon drawn by our own script at build time, the
# version and the manifest. A library of their own, so the compiler
# warnings of the C++ targets never reach the resource compiler.
enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(icon_dir ${CMAKE_CURRENT_BINARY_DIR}/icon)
set(MORVANE_ICON_FILE ${icon_dir}/morvane.ico)
set(MORVANE_MANIFEST_FILE ${CMAKE_CURRENT_SOURCE_DIR}/resources/morvane.manifest)
add_custom_command(
  OUTPUT ${MORVANE_ICON_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/make_icon.py ${icon_dir}
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/make_icon.py
  COMMENT "Drawing the application icon"
  VERBATIM)
configure_file(resources/morvane.rc.in ${CMAKE_CURRENT_BINARY_DIR}/morvane.rc @ONLY)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/morvane.rc PROPERTIES
  OBJECT_DEPENDS "${MORVANE_ICON_FILE};${MORVANE_MANIFEST_FILE}")
add_library(morvane_resources OBJECT ${CMAKE_CURRENT_BINARY_DIR}/morvane.rc)
target_include_directories(morvane_resources PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/resources)

if(TARGET morvane_http_client)
  add_executable(Morvane WIN32 main.cpp $<TARGET_OBJECTS:morvane_resources>)
  target_link_libraries(Morvane PRIVATE morvane_win32_window morvane_http_client morvane_warnings)
  # Stripped, and unused code left out: the program is handed over as one
  # small file.
  target_link_options(Morvane PRIVATE -s -Wl,--gc-sections)
endif()
