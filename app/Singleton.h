#pragma once

// Program-wide service base: the constructor publishes the instance, the
// destructor withdraws it. The entry alone creates and deletes services.
template <typename T>
class Singleton {
public:
  static T* GetInstance() { return instance; }

protected:
  Singleton() { instance = static_cast<T*>(this); }
  ~Singleton() {
    if (instance == static_cast<T*>(this)) instance = nullptr;
  }
  Singleton(const Singleton&) = delete;
  Singleton& operator=(const Singleton&) = delete;

private:
  static inline T* instance = nullptr;
};
