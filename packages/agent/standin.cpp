// Stand-in for the update agent's programs: the installer only checks that
// they are there and which version they carry.
int main() {
    return 0;
}
