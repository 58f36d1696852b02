#pragma once
// Message boxes: the one way the program asks or tells the user something.
#include <cstdint>
#include <string>

namespace trovik {

// An opaque window handle (an HWND on Windows); 0 is no window.
using WindowHandle = std::uintptr_t;

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Information, Warning, Error, Question };
enum class Answer { Ok, Cancel, Yes, No, Retry };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // MessageBoxA(owner, text, caption, buttons | icon).
  virtual Answer show(WindowHandle owner, const std::string& text, const std::string& caption,
                      Buttons buttons, Icon icon) = 0;
};

// Window-message servicing while long work runs on the GUI thread.
class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // PeekMessageA/TranslateMessage/DispatchMessageA until the queue is empty.
  virtual void processMessages() = 0;
};

// Shell shortcuts (.lnk files).
class ShellLinks {
 public:
  virtual ~ShellLinks() = default;
  // IShellLinkA + IPersistFile::Load, Resolve(SLR_NO_UI), GetPath: the target
  // of the shortcut, or empty when it cannot be resolved.
  virtual std::string resolveTarget(const std::string& lnkPath) = 0;
};

}  // namespace trovik
