// platform.h - the seams between the model and the window system.
//
// The model asks for redisplays and reads the frame clock through these
// hooks. The program points them at GLUT once the window exists; until then
// (and in unit tests) a redisplay request is a no-op and the clock is a
// steady clock counted from the first reading. Tests may install fakes.
#pragma once

namespace platform {

using RedisplayFn = void (*)();
using ClockFn = int (*)();
using SleepFn = void (*)(int ms);

// Ask for a redisplay (glutPostRedisplay in the program).
void requestRedisplay();
void setRedisplayHandler(RedisplayFn fn);

// Milliseconds since start (GLUT_ELAPSED_TIME in the program).
int elapsedMs();
void setClock(ClockFn fn);

// Yields the processor for about ms milliseconds (the frame limiter's wait).
void sleepMs(int ms);
void setSleeper(SleepFn fn);

// Modifier keys held with the key being handled (glutGetModifiers in the
// program, which may only be asked inside an input callback); none by default.
using ModifiersFn = int (*)();
constexpr int MOD_SHIFT = 1, MOD_CTRL = 2, MOD_ALT = 4;  // GLUT's GLUT_ACTIVE_* bits
int modifiers();
void setModifiersSource(ModifiersFn fn);

// Back to the defaults above (tests).
void resetSeams();

}  // namespace platform
