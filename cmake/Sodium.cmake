# libsodium from Debian's source package, which scripts/lib.sh unpacks into
# the build folder: only the sources of what the program uses (sodium_init,
# guarded memory, Argon2id, XChaCha20-Poly1305), compiled here as a static
# library, without autotools. The defines are what libsodium's configure
# finds for x86-64 Windows with this compiler; each SIMD variant is compiled
# with its instruction set and chosen at run time by the CPU's features, as
# the library's own build does. sodium_init picks an implementation for
# every primitive that has several, so curve25519 (with the field arithmetic
# of ed25519) and salsa20 come along; the Argon2 string format brings the
# base64 codecs. version.h is written beside the library's own headers,
# where they look for it.
#
# Random bytes: the library's own source would import advapi32. It is not
# compiled: with RANDOMBYTES_CUSTOM_IMPLEMENTATION and no default, the
# library takes the bytes from the implementation that the program hands to
# randombytes_set_implementation before sodium_init (crypto/SodiumLibrary).
set(KFO_SODIUM_VERSION 1.0.18)
set(KFO_SODIUM_DIR ${CMAKE_BINARY_DIR}/deps/libsodium-${KFO_SODIUM_VERSION} CACHE PATH
    "libsodium's unpacked Debian source package")
if(NOT EXISTS ${KFO_SODIUM_DIR}/.kfo-ready)
  message(FATAL_ERROR "no libsodium sources in ${KFO_SODIUM_DIR}: scripts/run and scripts/test "
                      "fetch them (kfo_fetch_sodium in scripts/lib.sh)")
endif()

set(src ${KFO_SODIUM_DIR}/src/libsodium)
set(SODIUM_LIBRARY_VERSION_MAJOR 10)
set(SODIUM_LIBRARY_VERSION_MINOR 3)
set(VERSION ${KFO_SODIUM_VERSION})
set(SODIUM_LIBRARY_MINIMAL_DEF "")
configure_file(${src}/include/sodium/version.h.in ${src}/include/sodium/version.h
               @ONLY)

set(plain
  sodium/codecs.c
  sodium/core.c
  sodium/runtime.c
  sodium/utils.c
  randombytes/randombytes.c
  crypto_aead/xchacha20poly1305/sodium/aead_xchacha20poly1305.c
  crypto_core/ed25519/ref10/ed25519_ref10.c
  crypto_core/hchacha20/core_hchacha20.c
  crypto_core/salsa/ref/core_salsa_ref.c
  crypto_generichash/blake2b/ref/blake2b-compress-ref.c
  crypto_generichash/blake2b/ref/blake2b-ref.c
  crypto_generichash/blake2b/ref/generichash_blake2b.c
  crypto_onetimeauth/poly1305/donna/poly1305_donna.c
  crypto_onetimeauth/poly1305/onetimeauth_poly1305.c
  crypto_pwhash/argon2/argon2-core.c
  crypto_pwhash/argon2/argon2-encoding.c
  crypto_pwhash/argon2/argon2-fill-block-ref.c
  crypto_pwhash/argon2/argon2.c
  crypto_pwhash/argon2/blake2b-long.c
  crypto_pwhash/argon2/pwhash_argon2i.c
  crypto_pwhash/argon2/pwhash_argon2id.c
  crypto_scalarmult/curve25519/ref10/x25519_ref10.c
  crypto_scalarmult/curve25519/scalarmult_curve25519.c
  crypto_stream/chacha20/ref/chacha20_ref.c
  crypto_stream/chacha20/stream_chacha20.c
  crypto_stream/salsa20/ref/salsa20_ref.c
  crypto_stream/salsa20/stream_salsa20.c
  crypto_verify/sodium/verify.c
)
set(sse2
  crypto_onetimeauth/poly1305/sse2/poly1305_sse2.c
  crypto_stream/salsa20/xmm6int/salsa20_xmm6int-sse2.c
)
set(ssse3
  crypto_generichash/blake2b/ref/blake2b-compress-ssse3.c
  crypto_pwhash/argon2/argon2-fill-block-ssse3.c
  crypto_stream/chacha20/dolbeau/chacha20_dolbeau-ssse3.c
)
set(sse41
  crypto_generichash/blake2b/ref/blake2b-compress-sse41.c
)
set(avx2
  crypto_generichash/blake2b/ref/blake2b-compress-avx2.c
  crypto_pwhash/argon2/argon2-fill-block-avx2.c
  crypto_stream/chacha20/dolbeau/chacha20_dolbeau-avx2.c
  crypto_stream/salsa20/xmm6int/salsa20_xmm6int-avx2.c
)
set(avx512f
  crypto_pwhash/argon2/argon2-fill-block-avx512f.c
)

set(sources)
foreach(group plain sse2 ssse3 sse41 avx2 avx512f)
  list(TRANSFORM ${group} PREPEND ${src}/)
  list(APPEND sources ${${group}})
endforeach()
set_source_files_properties(${sse2} PROPERTIES COMPILE_OPTIONS "-msse2")
set_source_files_properties(${ssse3} PROPERTIES COMPILE_OPTIONS "-msse2;-mssse3")
set_source_files_properties(${sse41} PROPERTIES COMPILE_OPTIONS "-msse2;-mssse3;-msse4.1")
set_source_files_properties(${avx2} PROPERTIES
                            COMPILE_OPTIONS "-msse2;-mssse3;-msse4.1;-mavx;-mavx2")
set_source_files_properties(${avx512f} PROPERTIES
                            COMPILE_OPTIONS "-msse2;-mssse3;-msse4.1;-mavx;-mavx2;-mavx512f")
# XGETBV as the library's inline assembly, for the AVX check alone: with
# HAVE_AVX_ASM everywhere, curve25519 would want its assembly files too.
set_source_files_properties(${src}/sodium/runtime.c PROPERTIES COMPILE_DEFINITIONS HAVE_AVX_ASM)

add_library(kfo_sodium STATIC ${sources})
target_include_directories(kfo_sodium SYSTEM
  PUBLIC ${src}/include
  PRIVATE ${src}/include/sodium)
target_compile_definitions(kfo_sodium
  PUBLIC SODIUM_STATIC
  PRIVATE CONFIGURED NATIVE_LITTLE_ENDIAN HAVE_TI_MODE HAVE_CPUID HAVE_EMMINTRIN_H
          HAVE_PMMINTRIN_H HAVE_TMMINTRIN_H HAVE_SMMINTRIN_H HAVE_AVXINTRIN_H
          HAVE_AVX2INTRIN_H HAVE_AVX512FINTRIN_H HAVE_WEAK_SYMBOLS HAVE_INLINE_ASM
          HAVE_C_VARARRAYS HAVE_ATOMIC_OPS RANDOMBYTES_CUSTOM_IMPLEMENTATION
          RANDOMBYTES_DEFAULT_IMPLEMENTATION=NULL)
# The library's own code, not ours: its warnings are not ours to mend, and
# its debug information would only lengthen the build and the program.
target_compile_options(kfo_sodium PRIVATE -w -g0 -fvisibility=hidden)
