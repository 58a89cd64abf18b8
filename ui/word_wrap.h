#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace huevane::ui {

// Breaks text into lines no wider than width, at spaces, as a Windows label does: the spaces
// between two words on one line count toward its width, the spaces at a break are dropped,
// and a word wider than the line stands on a line of its own. measure gives a text's width.
std::vector<std::string> WrapWords(std::string_view text, int width,
                                   const std::function<int(std::string_view)>& measure);

}  // namespace huevane::ui
