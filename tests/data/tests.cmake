# The data tests run the generator binary into their own folders.
if(TARGET test_data AND TARGET volleen-generate)
  add_dependencies(test_data volleen-generate)
endif()
