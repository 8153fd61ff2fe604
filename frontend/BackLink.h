#pragma once

#include "frontend/MenuLink.h"

// The "BACK" of a screen: a link drawn smaller, that grows when selected.
class CBackLink : public CMenuLink {
public:
  using CMenuLink::CMenuLink;

  void Draw(float x, float y, bool selected) override;
};
