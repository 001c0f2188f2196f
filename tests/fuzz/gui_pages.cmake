# Every settings page on arbitrary configuration blocks.
lx47_fuzz_target(page_blocks fuzz_pages.cpp LIBS lx47_app)
target_include_directories(replay_page_blocks PRIVATE ${PROJECT_SOURCE_DIR}/tests/gui)
if(TARGET fuzz_page_blocks)
  target_include_directories(fuzz_page_blocks PRIVATE ${PROJECT_SOURCE_DIR}/tests/gui)
endif()
