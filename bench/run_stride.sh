export PUPPETORIUM_BIN=/work/wt/i24/build/puppetorium PUPPETORIUM_ROOT=/work/wt/i24 PUPPETORIUM_BUILD=/tmp/i24x
source /work/wt/i24/tests/e2e/lib.sh
e2e_init stride3
DATA=$(data_copy)
start_app "$DATA"
wait_first_frame >/dev/null
wait_intro_over
key F4 slash
key F7                      # the standing pose, to measure against
key ctrl+3
sleep 0.5
ctrl_drag() { focus; xdotool keydown ctrl; drag 1 "$@" 10; xdotool keyup ctrl; sleep 0.3; }
ctrl_drag 378 245 378 265; shot s1     # body down a little: knees give
key F7                                 # (only to measure the planted feet)
ctrl_drag 345 420 295 420; shot s2     # left foot forward along the floor
ctrl_drag 345 420 400 420; shot s3     # right foot back
ctrl_drag 343 305 393 300; shot s4     # left hand back
ctrl_drag 326 280 280 270; shot s5     # right hand forward
key F7
key ctrl+c ctrl+shift+v F7            # the next stride, mirrored
sleep 0.5; shot s6
key ctrl+5
sleep 0.5; shot s7
key F6
choose_file "Save Animation" "$ART/stride"
wait_for_log "Animation has been saved"
