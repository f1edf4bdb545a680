# The web build of the program: the window on a canvas with the key loop on main's stack
# (window_web.cpp), Asyncify so that the console reads can wait for the page, the console of
# web/console_library.js, and the 22 boundary files preloaded into the current directory.
add_library(paravib_app STATIC window.cpp window_web.cpp keyboard.cpp)
target_link_libraries(paravib_app PUBLIC paravib_draw paravib_control)

set(console_library ${PROJECT_SOURCE_DIR}/web/console_library.js)
# The blocking read is a WASI import: named with its module, or Asyncify never suspends in it.
function(paravib_web_program target)
  target_link_options(${target} PRIVATE
    -sLEGACY_GL_EMULATION=1 -sASYNCIFY "-sASYNCIFY_IMPORTS=['wasi_snapshot_preview1.fd_read']"
    -sASYNCIFY_STACK_SIZE=65536 -sEXIT_RUNTIME=1 --js-library ${console_library}
    --preload-file ${CMAKE_BINARY_DIR}/boundaries@/)
  add_dependencies(${target} boundary_files)
  set_target_properties(${target} PROPERTIES LINK_DEPENDS "${console_library}")
endfunction()

add_executable(paravib main.cpp)
target_link_libraries(paravib PRIVATE paravib_app)
paravib_web_program(paravib)

# The explorer on its own page, from the same sources as on the desktop.
add_library(paravib_explore_app STATIC explore_hooks.cpp)
target_link_libraries(paravib_explore_app PUBLIC paravib_app paravib_explore paravib_explore_draw)
add_executable(paravib-explore explore_main.cpp)
target_link_libraries(paravib-explore PRIVATE paravib_explore_app)
paravib_web_program(paravib-explore)
