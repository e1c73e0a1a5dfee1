// A program that only carries a version resource, for reading product names.
int main() {
    return 0;
}
