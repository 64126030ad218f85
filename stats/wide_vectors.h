#pragma once

// TAVRIN21_WIDE_VECTORS before a function whose loops the compiler vectorises: where the build
// allows it, the compiler makes a copy of the function for processors with AVX2 (four doubles an
// instruction) beside the SSE2 one (two), and the dynamic loader picks one when the program or
// module loads. Both copies do the same IEEE operations on each element, in the same order and
// without fused multiply-add, so they give the same bits. It needs GCC and the loader's indirect
// functions (ELF): Windows builds, and clang's, have the SSE2 copy only.
#if defined(TAVRIN21_AVX2_COPIES) && defined(__GNUC__) && !defined(__clang__) && \
    defined(__ELF__) && (defined(__x86_64__) || defined(__i386__))
#define TAVRIN21_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define TAVRIN21_WIDE_VECTORS
#endif
