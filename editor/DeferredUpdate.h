#pragma once

#include <functional>
#include <utility>

namespace editor {

// An update that several fields ask for in turn, such as a total over all of them. Asked
// for outside a batch, it runs at once; within a batch, once at the batch's end, when any
// field asked for it. A refresh shows all fields of a total as one batch: the total then
// comes out as it would after the last field that asked, without adding everything up
// again for each of them.
class DeferredUpdate {
public:
    explicit DeferredUpdate(std::function<void()> update) : m_update(std::move(update)) {}

    void request() {
        if (m_batching) {
            m_due = true;
        } else {
            m_update();
        }
    }

    template <typename Show>
    void batch(Show&& show) {
        m_batching = true;
        std::forward<Show>(show)();
        m_batching = false;
        if (std::exchange(m_due, false)) {
            m_update();
        }
    }

private:
    std::function<void()> m_update;
    bool m_batching = false;
    bool m_due = false;
};

}  // namespace editor
