#include "capped_assignment.h"

#include <algorithm>
#include <functional>

namespace tilvane {

void Capped_Assignment_Problem::Add_Cell(const std::vector<std::pair<int, std::int64_t>>& candidates,
                                         std::int64_t other_cost) {
    for (const auto& [t, c] : candidates) {
        tile.push_back(t);
        cost.push_back(c);
    }
    first.push_back(tile.size());
    other.push_back(other_cost);
}

namespace {

// A minimum-cost flow from the cells through the tiles (capacity their room) to a sink, found by
// successive shortest augmenting paths, one cell at a time, with Dijkstra's search on costs
// reduced by node potentials (the Hungarian method on sparse candidate lists, with capacities).
// Why this and not an auction: it is exact with whole costs and needs no price scaling, the
// first pass gives most cells their cheapest tile outright, and each search stops at the first
// tile with room, so only the cells that compete for popular tiles cost a search. The cells'
// lists are short; one extra node, "any other tile", takes any number of cells, each at its
// `other` cost: with rooms adding up to the cells, the tiles always have room for all of them beside
// the cells given a tile. A search that settles more than kMost_Settled nodes (a large flat
// area whose tiles are all full) gives its cell "any other tile" at once, which keeps the time
// bounded at the price of exactness there: such a cell's
// tiles are full of cells with equally good claims, and the chooser places it afterwards among
// the nearest tiles with room, which costs far less than a long search that mostly fails.
class Capped_Flow {
public:
    explicit Capped_Flow(const Capped_Assignment_Problem& p)
        : p_(p), cells_(p.Cells()), other_node_(cells_ + p.Tiles()), sink_(other_node_ + 1),
          at_(static_cast<std::size_t>(cells_), kUnassigned), at_cost_(static_cast<std::size_t>(cells_), 0),
          members_(p.room.size()),
          potential_(static_cast<std::size_t>(sink_ + 1), 0),
          distance_(potential_.size()), parent_(potential_.size()), via_cost_(potential_.size()),
          reached_(potential_.size(), 0), settled_(potential_.size(), 0) {}

    std::vector<int> Solve() {
        // Every cell whose cheapest candidate still has room takes it: an optimal start, with each
        // such cell's potential its cost, so that every reduced cost stays at least 0.
        std::vector<int> waiting;
        for (int c = 0; c < cells_; ++c) {
            std::size_t best = End(c);
            for (std::size_t k = p_.first[Index(c)]; k < End(c); ++k)
                if (best == End(c) || p_.cost[k] < p_.cost[best]) best = k;
            if (best != End(c) && Used(p_.tile[best]) < Cap(p_.tile[best])) {
                Take(c, p_.tile[best], p_.cost[best]);
                potential_[Index(c)] = -p_.cost[best];
            } else {
                waiting.push_back(c);
            }
        }
        for (int c : waiting) Augment(c);
        std::vector<int> result(static_cast<std::size_t>(cells_));
        for (int c = 0; c < cells_; ++c) result[Index(c)] = at_[Index(c)] == kAt_Other ? kOther_Tile : at_[Index(c)];
        return result;
    }

private:
    static constexpr int kUnassigned = -2, kAt_Other = -1;
    static std::size_t Index(int i) { return static_cast<std::size_t>(i); }
    std::size_t End(int c) const { return p_.first[Index(c) + 1]; }
    int Used(int t) const { return static_cast<int>(members_[Index(t)].size()); }
    int Cap(int t) const { return p_.room[Index(t)]; }

    void Take(int c, int t, std::int64_t cost) {
        at_[Index(c)] = t;
        at_cost_[Index(c)] = cost;
        members_[Index(t)].push_back(c);
    }
    void Leave(int c, int t) {
        std::vector<int>& m = members_[Index(t)];
        m.erase(std::find(m.begin(), m.end(), c));
    }

    void Relax(int from, int to, std::int64_t cost) {
        if (settled_[Index(to)] == round_) return;
        const std::int64_t d = distance_[Index(from)] + cost + potential_[Index(from)] - potential_[Index(to)];
        if (reached_[Index(to)] == round_ && d >= distance_[Index(to)]) return;
        reached_[Index(to)] = round_;
        distance_[Index(to)] = d;
        parent_[Index(to)] = from;
        via_cost_[Index(to)] = cost;
        Push({d, to});
    }

    void Relax_From(int u) {
        if (u < cells_) {
            for (std::size_t k = p_.first[Index(u)]; k < End(u); ++k)
                if (p_.tile[k] != at_[Index(u)]) Relax(u, cells_ + p_.tile[k], p_.cost[k]);
            if (at_[Index(u)] != kAt_Other) Relax(u, other_node_, p_.other[Index(u)]);
        } else if (u < other_node_) {
            const int t = u - cells_;
            for (int c : members_[Index(t)]) Relax(u, c, -at_cost_[Index(c)]);
            if (Used(t) < Cap(t)) Relax(u, sink_, 0);
        } else {
            // No edges back to the cells at "any other tile": that node has room for all, and with
            // no negative cycle in the flow so far, a path on through such a cell to the sink
            // never costs less than the step straight to it.
            Relax(u, sink_, 0);
        }
    }

    // The cheapest path from cell s to a tile with room, and the flow moved along it.
    void Augment(int s) {
        ++round_;
        settled_list_.clear();
        heap_.clear();
        reached_[Index(s)] = round_;
        distance_[Index(s)] = 0;
        Push({0, s});
        std::int64_t reach = 0;
        while (!heap_.empty()) {
            const auto [d, u] = heap_.front();
            if (settled_[Index(u)] == round_ || d != distance_[Index(u)]) {
                Pop();
                continue;
            }
            reach = d;
            if (settled_list_.size() == kMost_Settled) {
                parent_[Index(sink_)] = other_node_;
                parent_[Index(other_node_)] = s;
                break;
            }
            Pop();
            settled_[Index(u)] = round_;
            settled_list_.push_back(u);
            if (u == sink_) break;
            Relax_From(u);
        }
        // Potentials move by how much nearer than the sink (or the nearest node not settled)
        // each settled node lies: reduced costs stay at least 0 and the path's become 0.
        for (int v : settled_list_) potential_[Index(v)] -= reach - distance_[Index(v)];
        for (int v = sink_; v != s;) {
            const int u = parent_[Index(v)];
            if (u < cells_ && v < other_node_) {  // a cell takes a tile
                Take(u, v - cells_, via_cost_[Index(v)]);
            } else if (u < cells_ && v == other_node_) {
                at_[Index(u)] = kAt_Other;
            } else if (u != other_node_ && v < cells_) {  // a tile gives up a cell
                Leave(v, u - cells_);
            }
            v = u;
        }
    }

    const Capped_Assignment_Problem& p_;
    int cells_, other_node_, sink_;
    std::vector<int> at_;  // each cell's tile, kAt_Other or kUnassigned
    std::vector<std::int64_t> at_cost_;
    std::vector<std::vector<int>> members_;  // each tile's cells
    std::vector<std::int64_t> potential_, distance_;
    std::vector<int> parent_;
    std::vector<std::int64_t> via_cost_;
    std::vector<int> reached_, settled_;
    int round_ = 0;
    std::vector<int> settled_list_;
    // The search's nodes reached, nearest on top: a heap kept in a vector that keeps its memory
    // from one search to the next.
    std::vector<std::pair<std::int64_t, int>> heap_;
    void Push(std::pair<std::int64_t, int> reached) {
        heap_.push_back(reached);
        std::push_heap(heap_.begin(), heap_.end(), std::greater<>());
    }
    void Pop() {
        std::pop_heap(heap_.begin(), heap_.end(), std::greater<>());
        heap_.pop_back();
    }
};

}  // namespace

std::vector<int> Assign_Capped(const Capped_Assignment_Problem& problem) { return Capped_Flow(problem).Solve(); }

}  // namespace tilvane
