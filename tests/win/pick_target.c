/* A program for the picker tests to choose: it has an icon, and one copy names its product. */
int main(void) {
    return 0;
}
