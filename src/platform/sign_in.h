// The programs the system starts when the user signs in: whether this program is one of them.
#pragma once

namespace wendrel {

class ISignIn {
 public:
  ISignIn() = default;
  ISignIn(const ISignIn&) = delete;
  ISignIn& operator=(const ISignIn&) = delete;
  virtual ~ISignIn() = default;

  // Whether the system starts this very program at sign-in now; the user may have changed the
  // list elsewhere, so it is asked each time.
  virtual bool StartsThisProgram() = 0;
  // Adds this program to the list, or takes it out. Throws PlatformError.
  virtual void SetStartsThisProgram(bool start) = 0;
};

}  // namespace wendrel
