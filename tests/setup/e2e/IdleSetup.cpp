// Stand-in full setup for the screenshots: starts and ends without reporting itself active.
int main()
{
    return 0;
}
