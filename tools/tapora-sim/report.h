// What tapora-sim tells: every call the input method makes towards the SIP
// manager and the user, and every call the stand-in makes on the input method,
// its factory, the libraries' exports and the installer hooks. Each goes to the
// event log (one JSON object a line, when asked for) and, readably, to
// standard output, tagged with the script line being run (0 for the stand-in's
// own start and stop).
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include <windows.h>

namespace sim {

class Report {
 public:
  // events: the event log's file, or empty for none.
  explicit Report(const std::string& events);
  bool ok() const { return ok_; }

  int line = 0;

  void SendVirtualKey(BYTE vk, DWORD flags);
  void SendCharEvents(UINT vk, UINT keyFlags, UINT count, const UINT* shift, const UINT* chars);
  void SendString(const char16_t* text, DWORD length);
  void SetImInfo(const RECT& rect);
  void ShowMessageBox(const char* owner, const std::u16string& caption, const std::u16string& text,
                  UINT type);
  void SipShowIM(DWORD flags);
  void SipSetCurrentIM(const CLSID& clsid);
  void DebugString(const std::u16string& text);
  // A call the stand-in made, when it returned.
  void Hresult(const char* method, HRESULT hr);
  void Result(const char* method, long result);
  // A line for people only.
  void Note(const std::string& text);

 private:
  void Write(const std::string& json, const std::string& readable);

  std::ofstream events_;
  bool logging_ = false;
  bool ok_ = true;
};

// "{26CA1951-5391-48C1-AC94-17CF92B65759}"
std::string ClsidText(const CLSID& clsid);
// Reads that form; false when it is not one.
bool ParseClsid(const std::u16string& text, CLSID* clsid);

}  // namespace sim
