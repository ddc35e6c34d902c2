// Guards against Shift+Insert pasting into read-only text boxes of a caller: one hook per
// guarded text box, each watching that text box's KeyDown event.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <vector>

namespace bk {

class TextBoxInsertHooks {
public:
    TextBoxInsertHooks() = default;
    TextBoxInsertHooks(const TextBoxInsertHooks&) = delete;
    TextBoxInsertHooks& operator=(const TextBoxInsertHooks&) = delete;
    ~TextBoxInsertHooks();

    // Guards `textBox` (which the caller has checked to be a text box); `added` is false when
    // a hook already guards this very object. Fails with run-time error 459 when the text box
    // publishes no events.
    HRESULT Add(IDispatch* textBox, bool& added);
    // Lets go of the hook of `textBox`; false when none guards it.
    bool Remove(IDispatch* textBox);
    void Clear();
    size_t size() const { return hooks_.size(); }

    class Hook;

private:
    std::vector<std::shared_ptr<Hook>> hooks_;
};

}  // namespace bk
