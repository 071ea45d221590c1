# The plug-in's embedded-picture selection (the ID3v2 walker, FLAC records,
# Ogg comments): it needs no Win32, so the Linux build runs it under the
# sanitizers and the fuzzer.
set(PICTURE_SELECTION_SOURCES
    ${CMAKE_SOURCE_DIR}/cover/id3v2.cpp ${CMAKE_SOURCE_DIR}/state/picture_buffer.cpp
    ${CMAKE_SOURCE_DIR}/cover/picture_block.cpp ${CMAKE_SOURCE_DIR}/cover/picture_choice.cpp
    ${CMAKE_SOURCE_DIR}/cover/ogg_comments.cpp ${CMAKE_SOURCE_DIR}/cover/flac_pictures.cpp
    ${CMAKE_SOURCE_DIR}/cover/embedded_selection.cpp ${CMAKE_SOURCE_DIR}/cover/picture_signature.cpp)
