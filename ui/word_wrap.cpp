#include "ui/word_wrap.h"

namespace huevane::ui {

std::vector<std::string> WrapWords(std::string_view text, int width,
                                   const std::function<int(std::string_view)>& measure) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t wordStart = text.find_first_not_of(' ', pos);
        if (wordStart == std::string_view::npos) {
            break;  // trailing spaces
        }
        std::size_t wordEnd = text.find(' ', wordStart);
        if (wordEnd == std::string_view::npos) {
            wordEnd = text.size();
        }
        const std::string_view spaces = text.substr(pos, wordStart - pos);
        const std::string_view word = text.substr(wordStart, wordEnd - wordStart);
        if (line.empty() && lines.empty()) {
            line = std::string(spaces) + std::string(word);  // leading spaces stay
        } else if (!line.empty() &&
                   measure(line + std::string(spaces) + std::string(word)) <= width) {
            line += std::string(spaces) + std::string(word);
        } else {
            if (!line.empty()) {
                lines.push_back(line);
            }
            line = std::string(word);
        }
        pos = wordEnd;
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace huevane::ui
