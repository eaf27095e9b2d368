// An owning pointer: destroying it deletes what it holds. Neither copied nor moved, so the
// owner is always the one object that made it.
#pragma once

#include <memory>

class Fft;
class Recorder;

template <class T> class XPtr {
public:
    explicit XPtr(T* object) : object_(object) {}
    XPtr(const XPtr&) = delete;
    XPtr& operator=(const XPtr&) = delete;

    T* operator->() const { return object_.get(); }
    T& operator*() const { return *object_; }
    T* get() const { return object_.get(); }

private:
    std::unique_ptr<T> object_;
};

using PtrRecorder = XPtr<Recorder>;
using PtrFft = XPtr<Fft>;
