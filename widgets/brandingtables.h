// The branding tables of the two programs and the row each build shows.
#pragma once

#include "branding.h"

namespace tarvo {

inline constexpr int ScopeBrandingVariant = 5;
inline constexpr int ToolBrandingVariant = 0;

// 12 rows, 0..11; row 0 neutral, row 5 the scope's own.
const BrandingTable& scopeBrandingTable();
// 11 rows, 0..10; row 0 neutral and in use.
const BrandingTable& toolBrandingTable();

}  // namespace tarvo
