#pragma once
// The closing credits: the production's name and the team's roles, white and gold with the
// captions' soft shadow, on a full-screen transparent picture shown over the black fade.
#include <string>

#include "Picture.h"

namespace logo {

constexpr int kCreditsWidth = 1024;
constexpr int kCreditsHeight = 576;

// Roles and who filled them: the team, never a person.
struct CreditLine {
  const char* role;
  const char* who;
};

// The picture, or an empty 0 × 0 one when a face cannot be read.
kit::Picture TypesetCredits(const std::string& boldFont, const std::string& regularFont);

}  // namespace logo
