// Where the calls to a desktop service go: the real service (made on first
// use, kept to the end of the program) unless another one is put in, as the
// tests do with their recorders.
#pragma once

namespace platform {

template <class Service, class Desktop>
class ServiceSlot {
 public:
  static Service& Get() {
    static Desktop desktop;
    Service* replacement = Replacement();
    return replacement ? *replacement : desktop;
  }
  // nullptr puts the desktop service back.
  static void Set(Service* service) { Replacement() = service; }

 private:
  static Service*& Replacement() {
    static Service* service = nullptr;
    return service;
  }
};

}  // namespace platform
