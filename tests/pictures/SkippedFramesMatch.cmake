# walkthrough-shot advances the frames before the last without drawing them; --bench draws every
# one. Both must give the same picture, byte for byte, also while the camera walks and turns;
# --bench then says how many frames it timed and their median.
set(walk --model ${MODEL} --view original --frames 240 --size 160x120 --hold W:1-200
         --hold Left:100-180 --mouse 25,-10@60)
execute_process(COMMAND ${PROGRAM} ${walk} -o ${OUT}/skipped.png RESULT_VARIABLE skipped)
execute_process(COMMAND ${PROGRAM} ${walk} --bench -o ${OUT}/drawn.png RESULT_VARIABLE drawn
                OUTPUT_VARIABLE timing)
if(NOT skipped EQUAL 0 OR NOT drawn EQUAL 0)
    message(FATAL_ERROR "walkthrough-shot failed: ${skipped}, ${drawn}")
endif()
if(NOT timing MATCHES "^frames 240\nmedian [0-9]+\\.[0-9][0-9][0-9] ms per frame\n$")
    message(FATAL_ERROR "--bench printed: ${timing}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/skipped.png ${OUT}/drawn.png
                RESULT_VARIABLE different)
if(different)
    message(FATAL_ERROR "the picture after skipped frames differs from drawing every frame")
endif()
