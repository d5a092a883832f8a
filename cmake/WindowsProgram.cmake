# The Windows program itself: varnel.exe from the program's code, the Win32 platform and the
# resources (icon, version, manifest). Included by the top-level CMakeLists when WIN32.
enable_language(RC)

add_executable(varnel WIN32 app/main.cpp resources/varnel.rc)
target_link_libraries(varnel PRIVATE varnel_core varnel_win32)
set_property(SOURCE resources/varnel.rc APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/varnel.ico
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/varnel.manifest
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/ResourceIds.h)
file(GLOB VARNEL_ICON_FILES ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons/*.ico)
set_property(SOURCE resources/varnel.rc APPEND PROPERTY OBJECT_DEPENDS ${VARNEL_ICON_FILES})

if(MSVC)
  # app/main.cpp has int main(); a GUI program's default entry would look for WinMain. The
  # manifest comes from the resource script, not from the linker.
  target_link_options(varnel PRIVATE /ENTRY:mainCRTStartup /MANIFEST:NO)
  set_property(TARGET varnel PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
endif()
# MinGW's start-up code calls main() for GUI programs too; the static runtime comes from the
# toolchain file's linker flags.
if(NOT MSVC)
  # The shipped program carries no symbol tables: half the size, nothing lost at run time.
  target_link_options(varnel PRIVATE $<$<CONFIG:Release>:-s>)
endif()
