// Ends at once with the exit code given as its first argument (decimal, up to 4294967295).
#include <cstdlib>

int main(int argc, char** argv) {
  const unsigned long code = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 0;
  // An unsigned exit code above INT_MAX reaches Windows' exit code unchanged through int.
  return static_cast<int>(static_cast<unsigned int>(code));
}
