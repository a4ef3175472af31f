// soak.cpp - long run of the real frame: 45 persons, each dancing a cycling
// animation with its keyframe trail on, stepped and drawn for 20,000 frames.
// Reports resident memory after the first 1,000 frames and at the end, and
// fails when the end is higher. Needs an X display (bench/run_soak.sh).
//   soak [FRAMES]
#include <GL/freeglut.h>

#include <malloc.h>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "app/app_state.h"
#include "app/frame_clock.h"
#include "app/platform.h"
#include "app/reshape.h"
#include "app/scene_init.h"
#include "scene/display.h"
#include "dancers.h"

#if defined(__SANITIZE_ADDRESS__)
// In the sanitizer runtime; GCC ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

long residentKiB() {
    long pages = 0, resident = 0;
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return -1;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = -1;
    std::fclose(f);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Bytes the allocator has handed out and not had back, in all arenas: when
// resident memory moves but this does not, the allocator's free lists moved,
// not the program's live data. (Under ASan, freed blocks wait in its
// quarantine and count as resident; its own tally leaves them out.)
long heapInUseKiB() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    return static_cast<long>(mallinfo2().uordblks / 1024);
#endif
}

void report(int frame) {
    std::printf("soak: frame %d, resident %ld KiB, heap in use %ld KiB\n", frame, residentKiB(),
                heapInUseKiB());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int checkpoint = frames < 2000 ? frames / 2 : 1000;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
    glutInitWindowSize(420, 420);  // small, so a software rasteriser gets through it; HUD still shown
    glutCreateWindow("Puppetorium v1.0");
    glutDisplayFunc(display);
    initScene();
    reshape(420, 420);

    setUpDancers(MAX_PERSONS, true);

    long early = 0, earlyHeap = 0;
    for (int f = 1; f <= frames; f++) {
        idle();
        display();
        glutMainLoopEvent();
        if (f == checkpoint) {
            early = residentKiB();
            earlyHeap = heapInUseKiB();
        }
        if (f == checkpoint || f % (frames >= 20000 ? 2000 : 50) == 0) report(f);
    }
    const long end = residentKiB();
    std::printf("soak: resident after %d frames %ld KiB, after %d frames %ld KiB\n", checkpoint, early,
                frames, end);
    std::printf("soak: heap in use after %d frames %ld KiB, after %d frames %ld KiB\n", checkpoint,
                earlyHeap, frames, heapInUseKiB());
    if (end > early) {
        std::printf("soak: FAIL: resident memory grew by %ld KiB\n", end - early);
        return 1;
    }
    std::printf("soak: PASS\n");
    return 0;
}
