#include <iostream>
#include <string>
#include <vector>

#include "kivshow/kivshow_command.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return kiv::RunKivShow(args, std::cout, std::cerr);
}
