#pragma once
// The player's input and output module tables, as its plug-in interface lays them
// out: an input module publishes its table through "winampGetInModule2", and the
// player fills in its own functions (stream information, visualisation) and the
// output module before playing. Shared by the plug-in, which wraps some functions of
// the MP3 input module, and by the substitute player with its test modules.
//
// On the player's 32-bit build every field is one 32-bit slot; the asserts below pin
// the slots the plug-in patches. The 64-bit build uses the same structures with
// pointer-sized fields (the two ints in the input table share a slot there).

#include <windows.h>

#include <cstddef>

struct WinampOutModule {
  int version;
  char* description;
  int id;
  HWND hMainWindow;
  HINSTANCE hDllInstance;
  void(__cdecl* Config)(HWND parent);
  void(__cdecl* About)(HWND parent);
  void(__cdecl* Init)();
  void(__cdecl* Quit)();
  // Latency in ms, or negative on failure.
  int(__cdecl* Open)(int sampleRate, int channels, int bitsPerSample, int bufferMs, int prebufferMs);
  void(__cdecl* Close)();
  // 0 when the block was taken.
  int(__cdecl* Write)(char* data, int bytes);
  // The bytes Write takes now without blocking.
  int(__cdecl* CanWrite)();
  // Non-zero while audio is still buffered.
  int(__cdecl* IsPlaying)();
  int(__cdecl* Pause)(int pause);
  void(__cdecl* SetVolume)(int volume);
  void(__cdecl* SetPan)(int pan);
  // Drops what is buffered; both times below start again at timeMs.
  void(__cdecl* Flush)(int timeMs);
  int(__cdecl* GetOutputTime)();   // ms played
  int(__cdecl* GetWrittenTime)();  // ms written
};

struct WinampInModule {
  int version;  // kInputModuleVersion
  char* description;
  HWND hMainWindow;         // filled in by the player
  HINSTANCE hDllInstance;   // filled in by the player
  char* fileExtensions;
  int isSeekable;
  int usesOutputPlug;
  void(__cdecl* Config)(HWND parent);
  void(__cdecl* About)(HWND parent);
  void(__cdecl* Init)();
  void(__cdecl* Quit)();
  void(__cdecl* GetFileInfo)(char* file, char* title, int* lengthMs);
  int(__cdecl* InfoBox)(char* file, HWND parent);
  int(__cdecl* IsOurFile)(char* file);
  // 0 on success; the module then decodes on a thread of its own.
  int(__cdecl* Play)(char* file);
  void(__cdecl* Pause)();
  void(__cdecl* UnPause)();
  int(__cdecl* IsPaused)();
  void(__cdecl* Stop)();
  int(__cdecl* GetLength)();       // ms
  int(__cdecl* GetOutputTime)();   // ms: the position the player shows
  void(__cdecl* SetOutputTime)(int timeMs);  // a seek
  void(__cdecl* SetVolume)(int volume);
  void(__cdecl* SetPan)(int pan);
  // Filled in by the player: visualisation, DSP and equaliser.
  void(__cdecl* SAVSAInit)(int maxLatencyMs, int sampleRate);
  void(__cdecl* SAVSADeInit)();
  void(__cdecl* SAAddPCMData)(void* data, int channels, int bitsPerSample, int timestamp);
  int(__cdecl* SAGetMode)();
  int(__cdecl* SAAdd)(void* data, int timestamp, int csa);
  void(__cdecl* VSAAddPCMData)(void* data, int channels, int bitsPerSample, int timestamp);
  int(__cdecl* VSAGetMode)(int* specChannels, int* waveChannels);
  int(__cdecl* VSAAdd)(void* data, int timestamp);
  void(__cdecl* VSASetInfo)(int sampleRate, int channels);
  int(__cdecl* dsp_isactive)();
  int(__cdecl* dsp_dosamples)(short* samples, int frames, int bitsPerSample, int channels, int sampleRate);
  void(__cdecl* EQSet)(int on, char data[10], int preamp);
  // Filled in by the player; the decoder reports its stream with it (rate in kHz).
  void(__cdecl* SetInfo)(int bitRate, int sampleRateKHz, int channels, int synchronised);
  WinampOutModule* outMod;  // filled in by the player
};

constexpr int kInputModuleVersion = 0x100;
constexpr char kInputModuleExport[] = "winampGetInModule2";
typedef WinampInModule*(__cdecl* GetInModuleProc)();

// Posted by an input module to the player's main window when its song has played out.
constexpr UINT kInputEndOfSongMessage = WM_USER + 2;

#if defined(__i386__) || defined(_M_IX86)
static_assert(sizeof(void*) == 4 && sizeof(int) == 4, "one 32-bit slot per field");
static_assert(offsetof(WinampInModule, Play) == 14 * 4);
static_assert(offsetof(WinampInModule, Stop) == 18 * 4);
static_assert(offsetof(WinampInModule, GetLength) == 19 * 4);
static_assert(offsetof(WinampInModule, GetOutputTime) == 20 * 4);
static_assert(offsetof(WinampInModule, SetOutputTime) == 21 * 4);
static_assert(offsetof(WinampInModule, SetInfo) == 36 * 4);
static_assert(offsetof(WinampInModule, outMod) == 37 * 4);
static_assert(offsetof(WinampOutModule, Write) == 11 * 4);
static_assert(offsetof(WinampOutModule, Flush) == 17 * 4);
static_assert(offsetof(WinampOutModule, GetOutputTime) == 18 * 4);
static_assert(offsetof(WinampOutModule, GetWrittenTime) == 19 * 4);
#endif
