/* A do-nothing 32-bit Windows program. The packaging test links the
   application's version resource and icon into it and reads them back. */
int main(void)
{
    return 0;
}
