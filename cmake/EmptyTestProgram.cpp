// Stands in for a test folder whose sources are still being written, so the
// folder's CMakeLists.txt configures (it defines no test).
int main() { return 0; }
