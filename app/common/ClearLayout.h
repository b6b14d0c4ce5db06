#pragma once

class QLayout;

// Takes every widget out of the layout and deletes it once the current event
// is done: one of them may be the sender of the change that rebuilds it.
void clearLayout(QLayout *layout);
