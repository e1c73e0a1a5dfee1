/* A program that is never run: it carries one test icon (or none) for the icon cache's tests. */
int main(void) {
    return 0;
}
