# The web build of the program: the window on a canvas with the key loop on main's stack
# (window_web.cpp), Asyncify so that the console reads can wait for the page, the console of
# web/console_library.js, and the 22 boundary files preloaded into the current directory.
add_library(paravib_app STATIC window.cpp window_web.cpp keyboard.cpp)
target_link_libraries(paravib_app PUBLIC paravib_draw paravib_control)

set(console_library ${PROJECT_SOURCE_DIR}/web/console_library.js)
# The blocking read is a WASI import: named with its module, or Asyncify never suspends in it.
# The boundary files come in one data package that both programs' pages load (boundaries.js
# and boundaries.data, made by Emscripten's file packager), so the site holds them once.
function(paravib_web_program target)
  target_link_options(${target} PRIVATE
    -sLEGACY_GL_EMULATION=1 -sASYNCIFY "-sASYNCIFY_IMPORTS=['wasi_snapshot_preview1.fd_read']"
    -sASYNCIFY_STACK_SIZE=65536 -sEXIT_RUNTIME=1 -sFORCE_FILESYSTEM=1
    --js-library ${console_library})
  add_dependencies(${target} boundary_package)
  set_target_properties(${target} PROPERTIES LINK_DEPENDS "${console_library}")
endfunction()

find_program(file_packager NAMES file_packager.py PATHS /usr/share/emscripten/tools
             ${EMSCRIPTEN_ROOT_PATH}/tools REQUIRED NO_CMAKE_FIND_ROOT_PATH)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/boundaries.data ${CMAKE_BINARY_DIR}/boundaries.js
  COMMAND Python3::Interpreter ${file_packager} boundaries.data
          --preload ${CMAKE_BINARY_DIR}/boundaries@/ --js-output=boundaries.js
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS boundary_files ${CMAKE_BINARY_DIR}/boundaries/fileb2500
  COMMENT "Packing the 22 boundary files for the page"
  VERBATIM)
add_custom_target(boundary_package DEPENDS ${CMAKE_BINARY_DIR}/boundaries.data)

add_executable(paravib main.cpp)
target_link_libraries(paravib PRIVATE paravib_app)
paravib_web_program(paravib)

# The explorer on its own page, from the same sources as on the desktop.
add_library(paravib_explore_app STATIC explore_hooks.cpp)
target_link_libraries(paravib_explore_app PUBLIC paravib_app paravib_explore paravib_explore_draw)
add_executable(paravib-explore explore_main.cpp)
target_link_libraries(paravib-explore PRIVATE paravib_explore_app)
paravib_web_program(paravib-explore)
