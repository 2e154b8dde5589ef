# Runs a short capture and checks its frames: show time steps one frame per pass, the end time
# gets its one extra frame, and the screenshot is the last of them.
file(REMOVE_RECURSE ${RUN_DIR}/frames ${RUN_DIR}/last.png)
execute_process(
  COMMAND ${PULSAR} --headless --size 160x90 --capture frames --capture-fps 25 --end-at 80 --screenshot last.png
  WORKING_DIRECTORY ${RUN_DIR}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "pulsar exited with ${result}")
endif()
# Frames at 0, 40 and 80 ms, and one more after the end time was reached.
foreach(frame 00000 00001 00002 00003)
  if(NOT EXISTS ${RUN_DIR}/frames/frame_${frame}.png)
    message(FATAL_ERROR "frame_${frame}.png is missing")
  endif()
endforeach()
if(EXISTS ${RUN_DIR}/frames/frame_00004.png)
  message(FATAL_ERROR "more frames than the end time allows")
endif()
file(SHA256 ${RUN_DIR}/frames/frame_00003.png last_frame)
file(SHA256 ${RUN_DIR}/last.png screenshot)
if(NOT last_frame STREQUAL screenshot)
  message(FATAL_ERROR "the screenshot is not the last frame drawn")
endif()
