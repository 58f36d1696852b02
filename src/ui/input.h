#pragma once
// What the user's input carries: the mouse button, the held keys, the phase of
// a drag, and what closing a window does.
#include <cstdint>

namespace trovik {

enum class MouseButton : std::int32_t { Left, Right, Middle };
// Held modifier keys and mouse buttons, one bit each.
enum ShiftFlag : std::uint32_t {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64
};
using ShiftState = std::uint32_t;
// The virtual-key codes the windows react to.
enum Key : std::uint16_t {
  vkBack = 8,
  vkReturn = 13,
  vkShift = 16,
  vkControl = 17,
  vkMenu = 18,
  vkEscape = 27,
  vkSpace = 32,
  vkPrior = 33,
  vkNext = 34,
  vkEnd = 35,
  vkHome = 36,
  vkLeft = 37,
  vkUp = 38,
  vkRight = 39,
  vkDown = 40,
  vkInsert = 45,
  vkDelete = 46
};
// The keys that move through a list (arrows, Page Up/Down, Home, End): a
// list they move through runs nothing.
constexpr bool movesThroughList(std::uint16_t key) { return key >= vkPrior && key <= vkDown; }
enum class DragState : std::int32_t { Enter, Leave, Move };
enum class CloseAction : std::int32_t { None, Hide, Free, Minimize };

}  // namespace trovik
