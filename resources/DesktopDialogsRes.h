#pragma once
// Resource numbers of the desktop and program-entry dialogs. Only #define
// lines: the resource compiler reads this file too.
