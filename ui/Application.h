#pragma once

#include <functional>

namespace ui {

// Ending the program at once. Tests put a recorder in place of the real end.
namespace Application {
void end(int exitCode = 0);
void setEndHandler(std::function<void(int)> handler);  // nullptr: end the program for real
}  // namespace Application

}  // namespace ui
