#pragma once
// The base of every plug-in window. The window handle is attached to its object
// while CreateWindowEx is still running (a per-thread WH_CBT hook catches
// HCBT_CREATEWND), so the object's virtual WindowProc sees every message from the
// first one on. WM_NCDESTROY detaches the object again: the window forgets its object
// before it is gone, so a late message never reaches an object that no longer exists.
//
// Objects must not delete themselves from inside their WindowProc.

#include <windows.h>

class WindowBase {
 public:
  explicit WindowBase(const char* className) noexcept : className_(className) {}
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  // Destroys the window if it still exists (on the thread that created it).
  virtual ~WindowBase();

  // The module that owns our classes and resources: the plug-in DLL in the player,
  // the test program in tests. Until set, the module this code is linked into.
  static HINSTANCE Instance();
  static void SetInstance(HINSTANCE instance);

  // Fills size, the common procedure, the instance and className into the caller's
  // record (other members as the caller set them) and registers it.
  static ATOM RegisterWindowClass(WNDCLASSEXA& record, const char* className);
  static void UnregisterWindowClass(const char* className);

  // Creates the window of this object's class. False when another creation is
  // pending on this thread, the hook cannot be installed or the window is refused.
  bool Create(const char* title, DWORD exStyle, DWORD style, const RECT& rect, const WindowBase* parent,
              UINT_PTR id);
  // The same with a parent (or, for a popup, an owner) that is not one of ours.
  bool CreateUnder(HWND parent, const char* title, DWORD exStyle, DWORD style, const RECT& rect, UINT_PTR id);
  // Destroys the window now, if there is one.
  void Destroy();

  // The creation hook, for dialogs and property-sheet pages that create their window
  // through the dialog manager: arm with attachWithoutSubclassing, pass
  // StaticDialogProc as the dialog procedure, disarm afterwards.
  static bool ArmCreationHook(WindowBase* object, bool attachWithoutSubclassing);
  static bool DisarmCreationHook();

  static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // True while the procedure of window, or of a window it parents or owns, runs on
  // the calling thread (it may sit in a modal loop of its own down there).
  static bool InsideProcedureOf(HWND window);

  HWND Handle() const noexcept { return handle_; }
  const char* ClassName() const noexcept { return className_; }
  void Update() const;
  void Show(int command) const;
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  RECT WindowRect() const;
  RECT ClientRect() const;
  // The show command of the window's placement (SW_SHOWMINIMIZED...).
  UINT ShowState() const;
  void MoveTo(const RECT& rect) const;
  void Invalidate(const RECT* rect = nullptr, bool erase = true) const;

 protected:
  // Attaches a dialog made elsewhere (a property-sheet page) to this object: its
  // procedure is StaticDialogProc already.
  void AttachDialog(HWND dialog) { Attach(dialog, false); }
  // Handles what the subclass does not: WM_NCDESTROY and everything else go to the
  // previous procedure (when the window was subclassed) or to DefWindowProcA.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // What the object's default handling answers; dialogs answer FALSE instead.
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  friend struct CreationHook;
  void Attach(HWND window, bool subclass);
  void Detach();

  WNDPROC previousProc_ = nullptr;
  HWND handle_ = nullptr;
  const char* className_;
  bool isDialog_ = false;
};
