# Sources that need no Win32 and so build for Linux too: the plug-in's
# embedded-picture selection (the ID3v2 walker, FLAC records, Ogg comments),
# and the stand-in library's format readers, with which apic-extract serves
# files as bass.dll does.
set(PICTURE_SELECTION_SOURCES
    ${CMAKE_SOURCE_DIR}/cover/id3v2.cpp ${CMAKE_SOURCE_DIR}/cover/picture_heap.cpp
    ${CMAKE_SOURCE_DIR}/cover/picture_block.cpp ${CMAKE_SOURCE_DIR}/cover/picture_choice.cpp
    ${CMAKE_SOURCE_DIR}/cover/ogg_comments.cpp ${CMAKE_SOURCE_DIR}/cover/flac_pictures.cpp
    ${CMAKE_SOURCE_DIR}/cover/embedded_selection.cpp ${CMAKE_SOURCE_DIR}/cover/picture_signature.cpp)
set(BASS_FORMAT_SOURCES
    ${CMAKE_SOURCE_DIR}/standin/bass/stream_tags.cpp ${CMAKE_SOURCE_DIR}/standin/bass/flac_metadata.cpp
    ${CMAKE_SOURCE_DIR}/standin/bass/ogg_headers.cpp ${CMAKE_SOURCE_DIR}/standin/bass/id3v2_block.cpp
    ${CMAKE_SOURCE_DIR}/standin/bass/mpeg_frames.cpp)
