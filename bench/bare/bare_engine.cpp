// The yardstick of the engine benchmark: the least a program must do for what Varnel does at
// rest and in a slide, with nothing else around it. Not part of Varnel.
//
//   bare_engine poll               reads the pointer and the left button every 100 ms, for ever
//   bare_engine slide HWND DELAY   parks the window as Varnel does, waits DELAY ms, then slides
//                                  it out at the left edge at the defaults (400 dots, 10 frames)
//                                  with the calls Varnel makes, and leaves it there
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

int Poll() {
  // A timer on the message loop, as a resident program would have it.
  SetTimer(nullptr, 0, 100, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER) {
      POINT pointer;
      GetCursorPos(&pointer);
      (void)GetAsyncKeyState(VK_LBUTTON);
    }
    DispatchMessageW(&message);
  }
  return 0;
}

int Slide(HWND window, DWORD delayMs) {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  ShowWindow(window, SW_HIDE);
  SetWindowLongW(window, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  MoveWindow(window, -screenWidth, -screenHeight, 0, 0, TRUE);
  ShowWindow(window, SW_SHOWNORMAL);
  Pump();
  Sleep(delayMs);

  RECT area;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const int top = area.top + 1;
  const int height = area.bottom - area.top - 2;
  const int extent = 400;
  const int frames = 10;
  SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_TOOLWINDOW);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  Pump();
  MoveWindow(window, area.left, top, 1, height, TRUE);
  ShowWindow(window, SW_RESTORE);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  for (int i = 0; i < frames; ++i) {
    const int width = i == 0 ? 1 : extent / frames * i;
    MoveWindow(window, area.left, top, width, height, TRUE);
    UpdateWindow(window);
    Pump();
  }
  MoveWindow(window, area.left, top, extent, height, TRUE);
  Pump();
  UpdateWindow(window);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 2 && std::wcscmp(argv[1], L"poll") == 0) return Poll();
  if (argc >= 4 && std::wcscmp(argv[1], L"slide") == 0) {
    const auto window = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(argv[2], nullptr, 0)));
    if (!IsWindow(window)) return 1;
    return Slide(window, static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)));
  }
  std::fputs("usage: bare_engine poll | bare_engine slide HWND DELAY_MS\n", stderr);
  return 2;
}
