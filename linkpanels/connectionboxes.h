// What both programs show of their connection the same way: its messages
// and the transfers it dropped in boxes, the wait cursor while it opens.
#pragma once

namespace tarvo {

class Connection;

void showConnectionBoxes(Connection& connection);

}  // namespace tarvo
