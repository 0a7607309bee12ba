// The terminal's mini trade panel, as the pop-up needs to know of it: while the panel shows, the
// pop-up does not open by a show request, and typing outside the trading workspaces closes it.
#pragma once

// The terminal's context value "CONTEXT_MINI_TRADE_VISIBLE_STATE" (a bool package); false when the
// terminal has none.
bool IsMiniTradeVisible();
