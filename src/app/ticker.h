#pragma once
// A text running from right to left through a field of W characters: it first grows from the left
// until it fills the field, then slides until it has left it, then starts again. Each step moves
// it by one character.
#include <string>

namespace saldora::app {

class Ticker {
  public:
    Ticker(std::string text, int width) : text_(std::move(text)), width_(width) { clip(); }

    // One step: E = E + 1; past L + W both start again at 1; S follows once E − S exceeds W.
    void step() {
        ++end_;
        if (end_ > length() + width_) end_ = start_ = 1;
        if (end_ - start_ > width_) ++start_;
    }
    // Characters S to E of the text (1-based, as far as the text goes).
    std::string shown() const {
        if (start_ > length()) return {};
        int last = std::min(end_, length());
        return text_.substr(static_cast<size_t>(start_ - 1), static_cast<size_t>(last - start_ + 1));
    }
    void setWidth(int width) { width_ = width; }
    int width() const { return width_; }
    int start() const { return start_; }
    int end() const { return end_; }

  private:
    int length() const { return static_cast<int>(text_.size()); }
    void clip() {
        while (!text_.empty() && text_.back() == ' ') text_.pop_back();
    }
    std::string text_;
    int width_;
    int start_ = 1, end_ = 1;
};

} // namespace saldora::app
