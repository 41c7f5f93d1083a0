// The SIP manager's stand-in: it finds the input method in the registry,
// loads its library, creates it, selects it in a SIP window on the host's
// screen and shows it, runs a script against it, and takes it down again,
// reporting every call both ways. The focused application is a text field.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <windows.h>

#include "im/sip_interfaces.h"
#include "tools/tapora-sim/product.h"
#include "tools/tapora-sim/report.h"
#include "tools/tapora-sim/script.h"
#include "tools/tapora-sim/text_field.h"

namespace sim {

class StandIn : public IIMCallback {
 public:
  StandIn(Report& report, Product product, std::filesystem::path snapshots);
  ~StandIn();
  StandIn(const StandIn&) = delete;
  StandIn& operator=(const StandIn&) = delete;

  // Loads, creates, registers the callback, selects and shows. False when no
  // input method could be created; a failed Select is reported and the run
  // goes on with no window.
  bool Start();
  // Runs one command; the exit code when the run must end there (1 for an
  // expectation that failed, 2 for a script error), else 0.
  int Run(const Command& command);
  // Hides, deselects, releases and unloads.
  void Stop();
  const TextField& field() const { return field_; }
  // The input panel window while it is selected and shown, else NULL.
  HWND Panel() const;

  // IIMCallback: what the input method sends.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SetImInfo(IMINFO* info) override;
  HRESULT STDMETHODCALLTYPE SendVirtualKey(BYTE vk, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE SendCharEvents(UINT vk, UINT keyFlags, UINT count, UINT* shift,
                                           UINT* chars) override;
  HRESULT STDMETHODCALLTYPE SendString(BSTR text, DWORD length) override;

 private:
  void Select();
  void Show(bool show);
  // Acts on the SIP manager's functions the last input-method call made.
  void AnswerSipCalls();
  bool Pen(CommandKind kind, int x, int y);
  int Options(const Command& command);

  Report& report_;
  Product product_;
  std::filesystem::path snapshots_;
  TextField field_;
  HMODULE library_ = nullptr;
  IInputMethod* inputMethod_ = nullptr;
  HWND screen_ = nullptr;
  HWND sip_ = nullptr;
  bool selected_ = false;
  bool searching_ = false;  // finding a key by its label
  std::vector<DWORD> pendingShows_;
};

}  // namespace sim
