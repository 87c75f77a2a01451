// The one interface between the game and the machine it runs on.
//
// It offers what the game needs from an operating system, in the game's own
// terms: one window with a message queue, time, 8-bit surfaces with a palette,
// text, keyboard, mouse and gamepad state, and sound buffers. Two backends
// implement it: platform/sdl (the real window) and platform/headless (virtual
// time, scripted input, traces). Surfaces, blits, text and the mixer are
// shared code in platform/common, so both backends draw and mix byte for byte
// alike.
//
// Nothing here knows about the game. Nothing in the game includes SDL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// ---------------------------------------------------------------------------
// Window and message queue

enum class MessageKind { Create, Paint, Close, Destroy, Quit };

struct Message {
    MessageKind kind;
    int32_t code;  // the exit code carried by Quit; 0 for the others
};

// How the player asked the machine to run the game (the command line). Given
// once, before CreateGameWindow; a backend takes what concerns it and
// ignores the rest (headless there is no window to make full screen).
struct StartOptions {
    bool fullScreen = true;   // false: start in a window; Alt+Enter switches either way
    bool frameStats = false;  // at the end, one line on how evenly the frames came
    // The window's size when not full screen; 0: twice the picture where the
    // desktop has room for it, else the picture's own size.
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
};
void SetStartOptions(const StartOptions& options);

// Where this machine keeps the player's replays, when it decides that, and
// how many of them fit; false where the game keeps them in its usual place.
// The browser keeps the newest few in its storage, which holds the files of
// the working folder.
bool KeptReplaysFolder(std::string* folder, int32_t* kept);

// Shows a line that ends the game before it could start where a player who
// started it from a desktop menu sees it: a message box where a window
// system is up (the window; it waits for the player's OK), the page (the
// browser). Headless: nothing. The caller prints it on stderr as well.
void ShowStartupError(const char* text);

// Creates the one game window, titled `title`, with the icon read from the 8-bit
// bitmap file `iconFile` (when it can be read; a missing icon is no failure).
// Nothing is queued: the caller runs its own Create handling once this
// returns, as creation itself would. On failure returns false with the reason
// in `why`.
bool CreateGameWindow(const char* title, const char* iconFile, std::string* why);
void DestroyGameWindow();
// How the window is now, to open the same way next time: full screen or
// not, and the size of its windowed form. False where there is nothing to
// remember (headless, the browser).
bool WindowPlacement(bool* fullScreen, int32_t* width, int32_t* height);

// Takes the oldest queued message without waiting; false when there is none.
bool PeekMessage(Message& out);
void PostMessage(MessageKind kind, int32_t code = 0);
// Whether a close request (the window's close button, the desktop, a
// script's close line) has arrived, taken from the queue or not. The game's
// waits end early once it has, so that the game closes from wherever it is;
// Sleep returns at once.
bool CloseRequested();

// Whether the player has looked away: the window lost its focus or was
// minimised, or the page is hidden. A window that never had the focus has
// not been looked away from. Headless: the script's `focus out` until
// `focus in`.
bool WindowAway();

// The cursor follows the mouse capture (see CaptureMouse): hidden while the
// game holds the mouse, shown whenever it is released, so a player can reach
// other windows. The game's own wish to hide it counts for nothing more.
void ShowCursor(bool show);

// ---------------------------------------------------------------------------
// Time

// Milliseconds, wrapping at 2^32 like the old system tick count.
uint32_t TickCount();
// Microseconds on the same steady clock, finer and never wrapping: TickCount
// is this divided by 1000 (plus a constant, modulo 2^32), so a wait of n whole
// milliseconds on this clock is at least n on the tick count too. Headless:
// the virtual milliseconds times 1000.
uint64_t PreciseTime();
// Blocks until PreciseTime() reaches `deadline`, or a close request arrives;
// returns at once when the deadline has passed. The window sleeps to just
// before the deadline and waits out the rest precisely, instead of waking
// every millisecond. Headless: virtual time moves on a millisecond at a time
// to the first whole millisecond at or after the deadline, exactly as a loop
// of TickCount, CloseRequested and IdleStep would move it.
void WaitUntil(uint64_t deadline);
// Blocks for at least `ms` milliseconds, or until a close request arrives.
void Sleep(uint32_t ms);
// One pass of a waiting loop: gives the processor back for about a
// millisecond (headless: advances virtual time by one millisecond).
void IdleStep();
// A waiting loop's pass on a screen that only waits for the player: gives
// the processor back until input or a window event arrives, a close request,
// or `ms` milliseconds pass, so that it does not wake every millisecond.
// Headless: idle steps, a millisecond each, until `ms` pass or a script line
// lands, so every run keeps its times.
void WaitForInput(uint32_t ms);
// Calendar time in whole seconds since 1970.
int64_t CalendarSeconds();

// ---------------------------------------------------------------------------
// Surfaces: 8-bit palette indices, rows `pitch` bytes apart.

struct Surface;

// Rectangles have exclusive right and bottom edges.
struct Rect {
    int32_t left, top, right, bottom;
};

// A new surface, every pixel 0; null when it cannot be made.
Surface* CreateSurface(int32_t width, int32_t height);
void ReleaseSurface(Surface* surface);
int32_t SurfaceWidth(const Surface* surface);
int32_t SurfaceHeight(const Surface* surface);

// Gives the pixel address and pitch; false (and nothing given) when the
// surface is null or already locked.
bool LockSurface(Surface* surface, uint8_t** pixels, int32_t* pitch);
// False when it was not locked.
bool UnlockSurface(Surface* surface);
bool IsSurfaceLocked(const Surface* surface);

// Sets every pixel to `colour`; false while the surface is locked.
bool FillSurface(Surface* surface, uint8_t colour);

// Later blits onto `surface` are cut to these rectangles (a copy is kept).
// With no clip list a blit is cut to the surface itself.
bool SetClipList(Surface* surface, const Rect* rects, int32_t count);

// Copies the `width` x `height` pixels at (0, 0) of `source` to (x, y) of
// `destination`, skipping source pixels of index 0 and cutting to the
// destination's clip list and edges. False when either surface is null or
// locked, or the source rectangle is larger than the source.
bool BlitKeyed(Surface* destination, int32_t x, int32_t y, Surface* source, int32_t width,
               int32_t height);

// ---------------------------------------------------------------------------
// The display: a visible surface and one back buffer, shown through a palette.

// Makes the two display surfaces (cleared to 0). False with a reason when the
// display cannot be had.
bool OpenDisplay(int32_t width, int32_t height, Surface** primary, Surface** back,
                 std::string* why);
void CloseDisplay();

// Exchanges the contents of the visible surface and the back buffer and shows
// the new picture. False (nothing done) while either surface is locked.
bool Flip();

// Sets the 256 display colours: 1024 bytes of red, green, blue, flags. The
// screen takes the new colours at once.
void SetPalette(const uint8_t entries[1024]);

// ---------------------------------------------------------------------------
// Text

// Draws one line of text with its top-left corner at (x, y), glyph pixels in
// palette index `index`, background untouched, cut at the surface's edges.
// False when the surface is null or locked.
bool DrawText(Surface* surface, int32_t x, int32_t y, const char* text, uint8_t index);

// ---------------------------------------------------------------------------
// Input

struct MouseReading {
    int32_t x;           // motion since the last read, right positive
    int32_t y;           // motion since the last read, down positive
    int32_t wheel;       // wheel motion since the last read
    uint8_t buttons[4];  // 0x80 while held; button 0 is the left button
};

bool OpenKeyboard();
bool OpenMouse();
void CloseKeyboard();
void CloseMouse();

// 256 bytes indexed by set-1 scan code (extended keys + 128), 0x80 while held.
// A key (or mouse button) pressed and let go since the last read reads as
// held in this one, once: a tap shorter than a frame still counts.
bool ReadKeyboard(uint8_t keys[256]);
bool ReadMouse(MouseReading& reading);
// The key that types the lower-case `letter` (a to z) on the player's
// keyboard layout, so that the menu's letters are where the player sees them;
// 0 when no key does. A US layout (and headless): the letter's own key.
uint8_t KeyForLetter(char letter);
// What the player's layout prints on the key `code`, when that is one
// printable character (letters upper case): false otherwise, and always
// headless. Where a layout is US, the game's own names are the same.
bool KeyLabel(uint8_t code, char* buffer, size_t size);
// Whether Escape is held at this moment, or was tapped since the last read
// of it or of the keyboard.
bool EscapeDown();

// Gamepads, counted in the order they were connected (index 0 = first).
enum class PadButton : uint8_t {
    A,
    B,
    X,
    Y,
    Back,
    Guide,
    Start,
    LeftStick,
    RightStick,
    LeftShoulder,
    RightShoulder,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
    Count
};  // SDL's order
enum class PadAxis : uint8_t {
    LeftX,
    LeftY,
    RightX,
    RightY,
    TriggerLeft,
    TriggerRight,
    Count
};  // SDL's order
constexpr int32_t MaxPads = 2;
struct PadReading {
    bool connected;
    uint8_t buttons[static_cast<int>(PadButton::Count)];  // 0x80 while held
    int16_t axes[static_cast<int>(PadAxis::Count)];       // -32768 .. 32767
};
// False (and connected = false, all else 0) when no pad has that index.
// The pads are sampled at the first read after the game last waited
// (WaitUntil, Sleep, IdleStep, WaitForInput), and every read until it waits
// again gives that sample, so all the reads of one frame agree. A button
// pressed since the sample before reads as held in it even when let go
// again: a tap shorter than a frame counts in one frame, for every reader.
bool ReadPad(int32_t index, PadReading& reading);
// While true: relative mouse motion, cursor hidden (a match is on screen).
// While false, or while the window has no focus: released, cursor shown, and
// motion made meanwhile never reaches ReadMouse.
void CaptureMouse(bool capture);

// ---------------------------------------------------------------------------
// The network: messages to and from the other side of an online match. One
// link at a time: a host listening for peers, or a peer joining one. The
// messages are the game's own bytes; the link only carries them.

enum class NetEventKind { Connected, Message, Disconnected };
struct NetEvent {
    NetEventKind kind;
    uint32_t peer;         // which connection, stable while it lasts
    const uint8_t* bytes;  // Message: valid until the next NetPoll
    size_t size;
    uint32_t waitedMs;  // how long ago it came in (the link takes messages
                        // during waits too)
};

// Listens on UDP `port`, IPv4 and IPv6, for up to `peers` connections at once
// (more than one, so that a peer too many can be told so). False with the
// reason in `why`.
bool NetListen(uint16_t port, int32_t peers, std::string* why);
// Starts connecting to `host` (a name or an address) at `port`; Connected or
// Disconnected follows from NetPoll. False with the reason in `why` (a name
// that cannot be found).
bool NetConnect(const char* host, uint16_t port, std::string* why);
// Takes one event without waiting; false when there is none.
bool NetPoll(NetEvent* event);
// Sends at once. A reliable message arrives, in order with the other
// reliable ones; an unreliable one may be lost or come late.
void NetSend(uint32_t peer, const uint8_t* bytes, size_t size, bool reliable);
// Ends one connection after what was sent to it has gone out.
void NetDisconnect(uint32_t peer);
// Ends the link: every connection, the port.
void NetClose();
// The bytes the link (the open one, else the last) has sent and received,
// its own headers included: what UDP carried.
void NetTraffic(uint64_t* sent, uint64_t* received);
// For tests and benchmarks: what this side sends from now on is late by
// `delayMs` give or take up to `jitterMs`, and `lossPercent` of the
// unreliable messages are lost, drawn from `seed`. All zero: none of it.
void NetImpair(uint32_t delayMs, uint32_t jitterMs, uint32_t lossPercent, uint32_t seed);
// The addresses other machines may reach this one by (not the loopback), as
// text, for the host to show.
std::vector<std::string> NetLocalAddresses();

// ---------------------------------------------------------------------------
// Sound: buffers of 8-bit unsigned mono samples at 11025 Hz, one voice each.

struct SoundBuffer;

bool OpenAudio();
void CloseAudio();

// Copies `count` samples; `name` names the sound in traces and messages.
SoundBuffer* CreateSoundBuffer(const uint8_t* samples, uint32_t count, const char* name);
// Plays from the current position, once or looping until stopped.
bool PlaySoundBuffer(SoundBuffer* buffer, bool loop);
void StopSoundBuffer(SoundBuffer* buffer);
// Moves the play position back to the first sample.
void RewindSoundBuffer(SoundBuffer* buffer);
void ReleaseSoundBuffer(SoundBuffer* buffer);

}  // namespace platform
