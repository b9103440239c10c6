#pragma once

// The 1.x-style SigC names through which widgets publish their events,
// mapped onto libsigc++ 3. Nothing else uses libsigc++ directly.
#include <sigc++/sigc++.h>

namespace SigC {

// Virtual base of every widget: member functions of derived classes become
// valid slots, and connections die with the object.
class Object : public sigc::trackable {};

using Connection = sigc::connection;

template <class R>
class Signal0 : public sigc::signal<R()> {};

template <class R, class P1>
class Signal1 : public sigc::signal<R(P1)> {};

template <class T, class Owner, class R, class... Args>
auto slot(T& object, R (Owner::*method)(Args...)) {
  return sigc::mem_fun(static_cast<Owner&>(object), method);
}

}  // namespace SigC
