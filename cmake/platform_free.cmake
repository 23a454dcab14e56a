# The source's platform-free logic as one library, for the host tests and
# the fuzz targets; it takes the compile options of the folder that includes
# this.
add_library(platform_free STATIC
    ${CMAKE_SOURCE_DIR}/album/fdb_record.cpp
    ${CMAKE_SOURCE_DIR}/album/read_out_plan.cpp
    ${CMAKE_SOURCE_DIR}/album/type_icons.cpp
    ${CMAKE_SOURCE_DIR}/bridge/bridge_messages.cpp
    ${CMAKE_SOURCE_DIR}/caps/allowed_values.cpp
    ${CMAKE_SOURCE_DIR}/caps/containers.cpp
    ${CMAKE_SOURCE_DIR}/caps/fix32.cpp
    ${CMAKE_SOURCE_DIR}/caps/set_texts.cpp
    ${CMAKE_SOURCE_DIR}/caps/value_text.cpp
    ${CMAKE_SOURCE_DIR}/source/condition_text.cpp
    ${CMAKE_SOURCE_DIR}/source/dib_format.cpp
    ${CMAKE_SOURCE_DIR}/source/image_values.cpp
    ${CMAKE_SOURCE_DIR}/source/memory_strips.cpp
    ${CMAKE_SOURCE_DIR}/source/session_states.cpp
    ${CMAKE_SOURCE_DIR}/source/transfer_names.cpp
    ${CMAKE_SOURCE_DIR}/source/transfer_queue.cpp
)
target_include_directories(platform_free PUBLIC ${CMAKE_SOURCE_DIR})
include(${CMAKE_SOURCE_DIR}/cmake/type_icons.cmake)
add_type_icon_data(platform_free)
