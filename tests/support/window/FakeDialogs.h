#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <vector>

#include "DialogService.h"

namespace testing_support {

// Answers file dialogs from a queue of canned replies and records what was asked and shown,
// so that no test ever blocks on a modal dialog. An empty queue answers Cancel; a question
// the test did not answer beforehand fails the test (and is answered with Cancel).
class FakeDialogs final : public ui::DialogService {
public:
    struct Request {
        ui::FileDialogOptions options;
        QString initialName;
        int initialFilter = 0;
    };
    // An error box: its text, which compares as the text, and the file it names.
    struct ShownError : QString {
        QString file;
    };
    struct Question {
        enum class Kind { SaveChanges, ChangedOnDisk, Replace, Conflicts };
        Kind kind;
        QString text;
        QWidget* parent;
        QString detail;  // what stands below the question
    };

    void answer(QString path, int filterIndex = 0) {
        m_answers.push_back(ui::FileChoice{std::move(path), filterIndex});
    }
    void answerCancel() { m_answers.push_back(std::nullopt); }
    void answerSaveChanges(ui::SaveChoice choice) { m_saveAnswers.push_back(choice); }
    void answerChangedOnDisk(ui::ChangedFileChoice choice) { m_changedAnswers.push_back(choice); }
    // For each conflict, true to take theirs; nothing to cancel.
    void answerConflicts(std::optional<std::vector<bool>> choices) {
        m_conflictAnswers.push_back(std::move(choices));
    }
    void answerReplace(bool replace) { m_replaceAnswers.push_back(replace); }
    // Whether every canned answer to a question was used.
    [[nodiscard]] bool questionsAnswered() const {
        return m_saveAnswers.empty() && m_changedAnswers.empty() && m_replaceAnswers.empty() &&
               m_conflictAnswers.empty();
    }

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
    void showError(QWidget*, const QString& text, const QString& file) override {
        errors.push_back({text, file});
    }
    ui::SaveChoice askSaveChanges(QWidget* parent, const QString& question,
                                  const QString& detail) override {
        questions.push_back({Question::Kind::SaveChanges, question, parent, detail});
        return next(m_saveAnswers, ui::SaveChoice::Cancel, question);
    }
    ui::ChangedFileChoice askChangedOnDisk(QWidget* parent, const QString& question,
                                           bool unsavedEdits) override {
        questions.push_back({Question::Kind::ChangedOnDisk, question, parent,
                             unsavedEdits ? QStringLiteral("unsaved edits") : QString()});
        return next(m_changedAnswers, ui::ChangedFileChoice::Cancel, question);
    }
    std::optional<std::vector<bool>> decideConflicts(
        QWidget* parent, const std::vector<ui::ConflictRow>& rows) override {
        conflicts = rows;
        questions.push_back({Question::Kind::Conflicts, QStringLiteral("conflicts"), parent, {}});
        return next(m_conflictAnswers, std::optional<std::vector<bool>>(),
                    QStringLiteral("conflicts"));
    }
    bool askReplace(QWidget* parent, const QString& question) override {
        questions.push_back({Question::Kind::Replace, question, parent, {}});
        return next(m_replaceAnswers, false, question);
    }
    void showFolder(QWidget*, const QString& folder) override { shownFolders.push_back(folder); }
    void showUnopenedAddress(QWidget*, const QString& text, const QString& address) override {
        unopened.push_back({text, address});
    }
    void showAbout(QWidget*) override { ++aboutShown; }

    std::vector<Request> requests;
    std::vector<ShownError> errors;
    std::vector<Question> questions;
    std::vector<ui::ConflictRow> conflicts;             // the rows of the last conflict dialog
    std::vector<std::pair<QString, QString>> unopened;  // text, address
    std::vector<QString> shownFolders;
    int aboutShown = 0;

private:
    template <typename Answer>
    static Answer next(std::deque<Answer>& answers, Answer cancel, const QString& question) {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << question.toStdString();
            return cancel;
        }
        Answer reply = answers.front();
        answers.pop_front();
        return reply;
    }

    std::deque<std::optional<ui::FileChoice>> m_answers;
    std::deque<ui::SaveChoice> m_saveAnswers;
    std::deque<ui::ChangedFileChoice> m_changedAnswers;
    std::deque<std::optional<std::vector<bool>>> m_conflictAnswers;
    std::deque<bool> m_replaceAnswers;
};

}  // namespace testing_support
