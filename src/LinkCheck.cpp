// The program of a layer's link check: it never runs; linking it proves that the layer's code needs
// nothing from the layers above it.
int main()
{
    return 0;
}
