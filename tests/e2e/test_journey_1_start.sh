#!/usr/bin/env bash
# A person starts the program: a 700 x 500 window appears, the console lists
# the 21 textures, the stage is drawn with the figure on it and the head-up
# text at the top left, and after two seconds the frame rate it shows is a
# measured one, not the "0" it starts with.
#
# The fps value is compared as a picture with the "0" the play-rate line
# shows after "/" (the same letters on the next line), so no font metrics
# are assumed.
source "$(dirname "$0")/lib.sh"
e2e_init journey_1_start


start_app
read -r w h < <(window_size)
expect "the window is 700 x 500 (got $w x $h)" test "$w" = 700 -a "$h" = 500

wait_for_log ">> Loaded texture 'images/fabric_black_suit_front.bmp'"
expect "21 textures loaded (the console says so)" \
  test "$(grep -cE "^>> Loaded texture 'images/[a-z_-]+\.bmp'$" "$LOG")" = 21
expect "no texture errors" bash -c "! grep -q 'ERROR' '$LOG'"

first=$(wait_first_frame)
expect "the figure stands at the centre of the stage" figure_within 300 400 "$first"
hud=$(region_share "$first" 260 100 10 20 "$TEXT_GREY")
expect "head-up text at the top left ($hud%)" test "$hud" -ge 2

# ---------------------------------------------------------------- fps
wait_app_time 2.2
late=$(snap after_two_seconds)
fps_px=$(hud_value "$late" 5 "$ART/fps.mask.png")
expect "an fps value is shown ($fps_px pixels)" test "$fps_px" -ge 10

hud_value "$late" 6 "$ART/rate_one.mask.png" >/dev/null
key slash
# shows_zero_rate FILE: the play-rate value no longer reads "1".
shows_zero_rate() {
  hud_value "$1" 6 "$ART/rate_zero.mask.png" >/dev/null
  pictures_differ "$ART/rate_zero.mask.png" "$ART/rate_one.mask.png"
}
poll_shot paused 10 shows_zero_rate >/dev/null || fail "'/' did not change the play rate shown"
zero_px=$(convert "$ART/rate_zero.mask.png" -format '%[fx:int(mean.r*w*h+0.5)]' info:)
expect "the play rate now shows a value ($zero_px pixels)" test "$zero_px" -ge 10
expect "after two seconds the fps value is not \"0\"" pictures_differ "$ART/fps.mask.png" "$ART/rate_zero.mask.png"

expect "program still running" app_alive
