#pragma once
// An error presenter that records each dialog's caption and text instead of showing it
// (Windows tests only).

#include "toolkit/application.h"

#include <string>
#include <utility>
#include <vector>

namespace sc::test {

class RecordingErrorPresenter : public tk::ErrorPresenter {
  public:
    void showError(HWND, const std::string& caption, const std::string& text) override {
        shown.push_back({caption, text});
    }
    std::vector<std::pair<std::string, std::string>> shown;
};

} // namespace sc::test
