// The one-instance base: GetInstance creates the object on first use, DestroyInstance deletes
// it and clears the pointer, so a later GetInstance would create a new one.
#pragma once

template <typename T>
class GenericSingleton {
public:
    static T* GetInstance() {
        if (!s_instance) s_instance = new T;
        return s_instance;
    }
    static void DestroyInstance() {
        delete s_instance;
        s_instance = nullptr;
    }
    static bool HasInstance() { return s_instance != nullptr; }

protected:
    GenericSingleton() = default;
    ~GenericSingleton() = default;

private:
    static inline T* s_instance = nullptr;
};
