#pragma once
// Resource numbers of the hot-key dialogs shared by both configurators. Only
// #define lines: the resource compiler reads this file too.
