// Progress and errors of content loading, as the loader reports them. Every slot does nothing
// unless overridden.
#pragma once

#include <string>

class IContentObserver {
public:
    virtual ~IContentObserver() = default;
    virtual void OnError(const std::string& message) { (void)message; }
    virtual void OnLoadBegin(int itemCount) { (void)itemCount; }
    virtual void OnItemLoaded() {}
    virtual void OnLoadEnd() {}
};
