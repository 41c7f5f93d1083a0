// Thin pass-throughs to the platform's user-interface functions.
#include "apicalls/api_ui.h"

namespace tapora::api {

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  return ::MessageBoxW(owner, text, caption, type);
}

}  // namespace tapora::api
