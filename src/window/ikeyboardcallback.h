// What the window tells about input: a left mouse button press, and every key-down (auto-repeats
// included) with its virtual-key code. Both do nothing unless overridden.
#pragma once

class IKeyboardCallback {
public:
    virtual ~IKeyboardCallback() = default;
    virtual void OnClick() {}
    virtual void OnKeyDown(int virtualKey) { (void)virtualKey; }
};
