# The album's type icons are drawn by a script at build time and compiled as
# constant tables into the given target, which must be created in the
# directory that calls this.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(add_type_icon_data target)
    set(script ${CMAKE_SOURCE_DIR}/resources/art/make_type_icons.py)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/type_icon_data.cpp)
    add_custom_command(OUTPUT ${output}
                       COMMAND Python3::Interpreter -B ${script} ${output}
                       DEPENDS ${script} ${CMAKE_SOURCE_DIR}/resources/art/glyphs.py)
    target_sources(${target} PRIVATE ${output})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
endfunction()
