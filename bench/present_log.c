/* Notes when the game pushes a picture to the screen, for the window bench.
 * Loaded with LD_PRELOAD, it wraps SDL's two ways to show a frame (a
 * renderer's present and an update of the window surface) and writes the
 * start and end of each, in microseconds of the monotonic clock, to the file
 * named by VOLLEEN_PRESENT_LOG. Being outside the game, it times any build
 * the same way, including those from before the game could time itself.
 * With VOLLEEN_PUMP_LOG it also notes when each event pump starts. */
#define _GNU_SOURCE
#include <SDL.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static FILE* present_log;
static FILE* pump_log;

static long long now_us(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000000 + t.tv_nsec / 1000;
}

static void note(long long start) {
    if (present_log == NULL) {
        const char* name = getenv("VOLLEEN_PRESENT_LOG");
        if (name == NULL || (present_log = fopen(name, "w")) == NULL) return;
    }
    fprintf(present_log, "%lld %lld\n", start, now_us());
}

void SDL_RenderPresent(SDL_Renderer* renderer) {
    static void (*real)(SDL_Renderer*);
    if (real == NULL) real = (void (*)(SDL_Renderer*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
    const long long start = now_us();
    real(renderer);
    note(start);
}

int SDL_UpdateWindowSurface(SDL_Window* window) {
    static int (*real)(SDL_Window*);
    if (real == NULL) real = (int (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface");
    const long long start = now_us();
    const int result = real(window);
    note(start);
    return result;
}

int SDL_UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count) {
    static int (*real)(SDL_Window*, const SDL_Rect*, int);
    if (real == NULL) {
        real = (int (*)(SDL_Window*, const SDL_Rect*, int))dlsym(RTLD_NEXT,
                                                                   "SDL_UpdateWindowSurfaceRects");
    }
    const long long start = now_us();
    const int result = real(window, rects, count);
    note(start);
    return result;
}

void SDL_PumpEvents(void) {
    static void (*real)(void);
    if (real == NULL) real = (void (*)(void))dlsym(RTLD_NEXT, "SDL_PumpEvents");
    if (pump_log == NULL) {
        const char* name = getenv("VOLLEEN_PUMP_LOG");
        if (name != NULL) pump_log = fopen(name, "w");
    }
    if (pump_log != NULL) fprintf(pump_log, "%lld\n", now_us());
    real();
}

__attribute__((destructor)) static void close_log(void) {
    if (present_log != NULL) fclose(present_log);
    if (pump_log != NULL) fclose(pump_log);
}
