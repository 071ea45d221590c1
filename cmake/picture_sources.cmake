# The plug-in's embedded-picture and tag-text selection (the ID3v2 walker, FLAC records,
# Ogg comments, the containers read from the file itself): it needs no Win32, so the Linux build runs it under the
# sanitizers and the fuzzer.
set(PICTURE_SELECTION_SOURCES
    ${CMAKE_SOURCE_DIR}/cover/id3v2.cpp ${CMAKE_SOURCE_DIR}/state/picture_buffer.cpp
    ${CMAKE_SOURCE_DIR}/cover/picture_block.cpp ${CMAKE_SOURCE_DIR}/cover/picture_choice.cpp
    ${CMAKE_SOURCE_DIR}/cover/ogg_comments.cpp ${CMAKE_SOURCE_DIR}/cover/flac_pictures.cpp
    ${CMAKE_SOURCE_DIR}/cover/embedded_selection.cpp ${CMAKE_SOURCE_DIR}/cover/picture_signature.cpp
    ${CMAKE_SOURCE_DIR}/cover/file_picture.cpp ${CMAKE_SOURCE_DIR}/cover/mp4_cover.cpp
    ${CMAKE_SOURCE_DIR}/cover/asf_cover.cpp ${CMAKE_SOURCE_DIR}/cover/ape_cover.cpp
    ${CMAKE_SOURCE_DIR}/cover/riff_id3.cpp ${CMAKE_SOURCE_DIR}/cover/tag_text.cpp)
