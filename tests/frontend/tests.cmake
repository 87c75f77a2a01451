# The front end's tests load the generated pictures and sounds.
if(TARGET test_frontend AND TARGET data)
  add_dependencies(test_frontend data)
endif()
