# Release programs are linked with symbols and stripped right after the link, so the file the
# build makes is the file one ships. The symbols go to <program>.debug beside it, which the
# program names in its .gnu_debuglink section: gdb finds them there. Other configurations keep
# their symbols in the program.
if(NOT CMAKE_OBJCOPY)
  message(FATAL_ERROR "No objcopy for the shipped programs: the toolchain file names one per ZV_WIN_ARCH")
endif()

# zv_ship_stripped(<target>)
function(zv_ship_stripped target)
  set(exe $<TARGET_FILE:${target}>)
  set(release $<CONFIG:Release,MinSizeRel>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND "$<${release}:${CMAKE_OBJCOPY};--only-keep-debug;${exe};${exe}.debug>"
    COMMAND "$<${release}:${CMAKE_STRIP};--strip-all;${exe}>"
    COMMAND "$<${release}:${CMAKE_OBJCOPY};--add-gnu-debuglink=${exe}.debug;${exe}>"
    COMMAND_EXPAND_LISTS
    VERBATIM)
endfunction()
