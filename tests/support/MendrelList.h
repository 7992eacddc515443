#pragma once
// A program list made as a user makes it: in Mendrel's dialog, one program
// added through the program dialog, then saved.

#include <string>

namespace qvtest {

// Runs Mendrel on the desktop with -p path, adds the program with its
// arguments and saves; true once Mendrel has ended with the list saved.
bool SaveListWithMendrel(const std::string& desktop, const std::string& path, const std::string& program,
                         const std::string& arguments);

}  // namespace qvtest
