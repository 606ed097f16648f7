/* Instructions an i486 lacks, for the instruction check to refuse. */
void Planted(void)
{
    __asm__ volatile("nopw 0x0(%%eax,%%eax,1)\n\t"
                     "endbr32\n\t"
                     "fisttpl (%%eax)\n\t"
                     "popcnt %%eax, %%eax\n\t"
                     "movbe (%%eax), %%eax\n\t"
                     "syscall\n\t"
                     "cmove %%eax, %%ebx" ::: "eax", "ebx", "memory");
}
