// The user's sign-in programs: the value "Wendrel" of the current user's Run key, holding this
// program's quoted path.
#pragma once

#include "platform/sign_in.h"

namespace wendrel::win32 {

class SignIn final : public ISignIn {
 public:
  bool StartsThisProgram() override;
  void SetStartsThisProgram(bool start) override;
};

}  // namespace wendrel::win32
