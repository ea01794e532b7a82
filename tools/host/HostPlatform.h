// What the host command line needs beyond the platform's API, in two implementations: on the
// stand-in (StandInPlatform.cpp) its test hooks serve (its clock, recorders, counters and the
// registry file); on Windows (WindowsPlatform.cpp) the platform's own means do (messages to
// the controls, real time, the boxes' windows, the system's registry). The commands reach the
// platform's particulars only through this header.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace hostcli {

// The command line's whole run: the arguments after the program's name, as UTF-8; each
// platform's entry point calls it.
int RunCommandLine(std::vector<std::string> args);

// The absolute path, in the platform's form, of a path given on the command line.
std::wstring PlatformPath(const std::string& path);

// ---- The registry of a run

// The stand-in's registry is loaded from a file before the command and saved back after it
// when it changed, under the file's lock so that runs on one file take turns; the system's
// registry (Windows) takes no file.
class RunRegistry {
 public:
  virtual ~RunRegistry() = default;
  // Writes back what changed; false with *error saying why not.
  virtual bool Save(std::string* error) = 0;
};

// The registry of the run: with a file, that file's (nullptr with *error when it cannot be
// used); without, the process's own.
std::unique_ptr<RunRegistry> OpenRunRegistry(const std::string& file, std::string* error);

// ---- Driving a page

// A message box the page showed, as the host's user read it before answering.
struct ShownBox {
  std::wstring caption;
  std::wstring text;
  bool hasHelpId = false;  // the box offered help, or was one whose help id is known
  DWORD helpId = 0;
  std::wstring missingHelpFile;  // the help file asked for, when it is not there
};

// One log record of failure.
struct FailureRecord {
  std::wstring function;
  std::wstring message;
};

// Acts on a page as its user does and watches what it shows, for one page's run: from
// construction (earlier boxes and log records are forgotten, boxes are answered from then on)
// to destruction.
class PageDriving {
 public:
  virtual ~PageDriving() = default;

  // Runs the thread's messages and the page's timers as the host's message loop would: until
  // none is left or the wait's bound has passed (a polling button keeps its timer for as long
  // as the page is open).
  virtual void RunTimers() = 0;
  // Runs the messages the thread has, and no timer.
  virtual void PumpMessages() = 0;
  // The user's choice of the entry: false when the combo box does not take one (disabled or
  // hidden).
  virtual bool SelectComboItem(HWND combo, int index) = 0;
  // The focus moved to the control: false when it does not take it.
  virtual bool FocusControl(HWND control) = 0;
  // The text typed key by key into the control that has the focus ('\b' deletes).
  virtual void TypeText(HWND control, const std::wstring& text) = 0;
  // A click on the button: false when it does not take one.
  virtual bool ClickButton(HWND button) = 0;

  // The message boxes shown and answered so far, in order.
  virtual std::vector<ShownBox> Boxes() const = 0;
  // The log records of failure so far, but for those of help files that are not there.
  virtual std::vector<FailureRecord> FailureRecords() const = 0;
  // The windows of the thread that are alive.
  virtual size_t WindowCount() const = 0;
  // The objects the loaded server still counts as alive, class by class ("" when none, or
  // when the server or the platform counts none).
  virtual std::string LiveObjectsOf(const std::wstring& server) const = 0;
};

std::unique_ptr<PageDriving> StartPageDriving();

}  // namespace hostcli
