#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "DialogService.h"

namespace testing_support {

// Answers file dialogs from a queue of canned replies and records what was asked and shown,
// so that no test ever blocks on a modal dialog. An empty queue answers Cancel.
class FakeDialogs final : public ui::DialogService {
public:
    struct Request {
        ui::FileDialogOptions options;
        QString initialName;
        int initialFilter = 0;
    };

    void answer(QString path, int filterIndex = 0) {
        m_answers.push_back(ui::FileChoice{std::move(path), filterIndex});
    }
    void answerCancel() { m_answers.push_back(std::nullopt); }

    std::optional<ui::FileChoice> chooseFile(QWidget*, const ui::FileDialogOptions& options,
                                             const QString& initialName,
                                             int initialFilter) override {
        requests.push_back({options, initialName, initialFilter});
        if (m_answers.empty()) {
            return std::nullopt;
        }
        // Swapped out rather than copied: GCC 12 takes the copy's strings for uninitialised.
        std::optional<ui::FileChoice> reply;
        reply.swap(m_answers.front());
        m_answers.pop_front();
        return reply;
    }
    void showError(QWidget*, const QString& text) override { errors.push_back(text); }
    void showAbout(QWidget*) override { ++aboutShown; }

    std::vector<Request> requests;
    std::vector<QString> errors;
    int aboutShown = 0;

private:
    std::deque<std::optional<ui::FileChoice>> m_answers;
};

}  // namespace testing_support
