# The image cost bench's target, kept apart so that ImageCostBench.sh can build it against an
# older tree too.
add_executable(ImageCostBench
  ${CMAKE_SOURCE_DIR}/tests/core/hostile/ImageBytes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageCostBench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImageCostInputs.cpp)
target_include_directories(ImageCostBench PRIVATE ${CMAKE_SOURCE_DIR}/tests/core/hostile ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ImageCostBench PRIVATE zvui_core psapi)
target_link_options(ImageCostBench PRIVATE -mconsole)
