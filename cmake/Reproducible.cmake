# Results must come out bit for bit the same on every machine and compiler:
# no contraction of a*b+c into a fused multiply-add, no fast-math, no host-specific ISA.
add_compile_options(-ffp-contract=off -fno-fast-math)
if(CMAKE_CXX_FLAGS MATCHES "march=native|ffast-math")
    message(FATAL_ERROR "-march=native and -ffast-math make results machine-dependent")
endif()
