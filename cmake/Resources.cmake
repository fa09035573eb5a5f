# The executable's resources: the icon group "AAA", the version record and the application manifest.
# The icon file is not checked in: tools/MakeIcon.cpp draws it, built for and run on the build host, and the
# resource compiler then picks it up from the build tree. Sets QUILLON_RESOURCE_FILES for add_executable.

set(QUILLON_ICON_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tools/MakeIcon.cpp ${CMAKE_CURRENT_SOURCE_DIR}/tools/QuillIcon.h)
set(QUILLON_ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/resources)
set(QUILLON_ICON_FILE ${QUILLON_ICON_DIR}/quillon.ico)
set(QUILLON_MANIFEST ${CMAKE_CURRENT_SOURCE_DIR}/resources/quillon.manifest)
set(QUILLON_RC ${CMAKE_CURRENT_SOURCE_DIR}/resources/quillon.rc)

if(CMAKE_CROSSCOMPILING)
  # The target's compiler makes programs the build host cannot run, so the generator is compiled by the host's.
  find_program(QUILLON_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
  set(QUILLON_MAKE_ICON ${CMAKE_CURRENT_BINARY_DIR}/tools/quillon_make_icon${CMAKE_HOST_EXECUTABLE_SUFFIX})
  add_custom_command(
    OUTPUT ${QUILLON_MAKE_ICON}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/tools
    COMMAND ${QUILLON_HOST_CXX} -std=c++17 -O2 -I${CMAKE_CURRENT_SOURCE_DIR}
            ${CMAKE_CURRENT_SOURCE_DIR}/tools/MakeIcon.cpp -o ${QUILLON_MAKE_ICON}
    DEPENDS ${QUILLON_ICON_SOURCES}
    COMMENT "Building the icon generator for the build host"
    VERBATIM)
  set(QUILLON_MAKE_ICON_DEPENDS ${QUILLON_MAKE_ICON})
else()
  add_executable(quillon_make_icon tools/MakeIcon.cpp)
  target_include_directories(quillon_make_icon PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  quillon_warnings(quillon_make_icon)
  set(QUILLON_MAKE_ICON $<TARGET_FILE:quillon_make_icon>)
  set(QUILLON_MAKE_ICON_DEPENDS quillon_make_icon)
endif()

add_custom_command(
  OUTPUT ${QUILLON_ICON_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLON_ICON_DIR}
  COMMAND ${QUILLON_MAKE_ICON} ${QUILLON_ICON_FILE}
  DEPENDS ${QUILLON_MAKE_ICON_DEPENDS}
  COMMENT "Drawing the icon quillon.ico"
  VERBATIM)

# The resource compiler finds quillon.ico and quillon.manifest on its include path; OBJECT_DEPENDS recompiles the
# resources when either changes, which the compiler's own dependency scan does not see.
set_source_files_properties(${QUILLON_RC} PROPERTIES
  INCLUDE_DIRECTORIES "${QUILLON_ICON_DIR};${CMAKE_CURRENT_SOURCE_DIR}/resources"
  OBJECT_DEPENDS "${QUILLON_ICON_FILE};${QUILLON_MANIFEST}")

# Listing the icon among the sources ties its custom command to the executable, so it is drawn before the
# resource compiler runs.
set(QUILLON_RESOURCE_FILES ${QUILLON_RC} ${QUILLON_ICON_FILE})
if(MSVC)
  # MSVC's linker embeds a manifest of its own; handing it ours as a source merges the two instead of clashing.
  set_property(SOURCE ${QUILLON_RC} APPEND PROPERTY COMPILE_DEFINITIONS QUILLON_MANIFEST_FROM_LINKER)
  list(APPEND QUILLON_RESOURCE_FILES ${QUILLON_MANIFEST})
endif()
