// Right-click help texts of the scope's panels.
#pragma once

namespace tarvo {
class RightClickHelp;
void addScopeHelpTexts(RightClickHelp& table);
}
