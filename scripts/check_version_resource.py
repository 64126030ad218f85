"""Prints the version resource of a Windows module: the fixed file and product versions, then
each string table (its language and code page) with its keys and values, one per line.

    /usr/bin/python3 scripts/check_version_resource.py tavrin21.dll
"""
import struct
import sys


def read_node(data, at):
    """The node at `at`: (key, value bytes, is_text, children's span, end)."""
    length, value_length, value_type = struct.unpack_from("<HHH", data, at)
    end = at + length
    key_end = data.index(b"\0\0", at + 6)
    while (key_end - at) % 2:  # UTF-16 NUL on an even boundary
        key_end = data.index(b"\0\0", key_end + 1)
    key = data[at + 6:key_end].decode("utf-16-le")
    value_at = (key_end + 2 + 3) & ~3
    value_bytes = value_length * (2 if value_type == 1 else 1)
    value = data[value_at:value_at + value_bytes]
    children_at = (value_at + value_bytes + 3) & ~3
    return key, value, value_type == 1, (children_at, end), (end + 3) & ~3


def children(data, span):
    at, end = span
    while at < end:
        node = read_node(data, at)
        yield node
        at = node[4]


def main(path):
    data = open(path, "rb").read()
    root = data.index("VS_VERSION_INFO".encode("utf-16-le")) - 6
    key, value, _, span, _ = read_node(data, root)
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", value)
    assert signature == 0xFEEF04BD, "no fixed file information"
    version = lambda ms, ls: f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    print(f"FILEVERSION {version(file_ms, file_ls)}")
    print(f"PRODUCTVERSION {version(product_ms, product_ls)}")
    for block, _, _, block_span, _ in children(data, span):
        for table, table_value, is_text, table_span, _ in children(data, block_span):
            if block == "StringFileInfo":
                print(f"StringTable {table}")
                for name, text, _, _, _ in children(data, table_span):
                    print(f"{name}={text.decode('utf-16-le').rstrip(chr(0))}")
            elif block == "VarFileInfo":
                language, code_page = struct.unpack_from("<HH", table_value)
                print(f"{table} {language:04X} {code_page:04X}")


if __name__ == "__main__":
    main(sys.argv[1])
