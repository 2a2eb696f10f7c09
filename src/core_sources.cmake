# The core library's sources: the standard library (and iconv) only, no Qt.
set(MOZA_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/common/file_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/common/program_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/glyph/char_data_loader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/glyph/glyph_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/block_sampler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/cp932.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/page_composer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/page_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/page_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/pixel_memory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convert/working_image.cpp
)
